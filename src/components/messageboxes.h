#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// The title of message boxes that carry none of their own.
inline constexpr char16_t kApplicationTitle[] = u"Text Export Pattern Designer";

struct MessageRequest
{
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QString title;   // "" for the application title
};

// Every message box of the program goes through here: a modal QMessageBox
// that returns the button pressed. Tests put their own in its place to
// answer and record the questions.
class MessageBoxes
{
public:
    virtual ~MessageBoxes();
    virtual QMessageBox::StandardButton show(QWidget *parent, const MessageRequest &request);
};
