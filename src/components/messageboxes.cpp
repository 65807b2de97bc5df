#include "messageboxes.h"

MessageBoxes::~MessageBoxes() = default;

QMessageBox::StandardButton MessageBoxes::show(QWidget *parent, const MessageRequest &request)
{
    QMessageBox box(request.icon,
                    request.title.isEmpty() ? QString::fromUtf16(kApplicationTitle) : request.title,
                    request.text, request.buttons, parent);
    if (request.defaultButton != QMessageBox::NoButton) {
        box.setDefaultButton(request.defaultButton);
        box.setEscapeButton(request.defaultButton == QMessageBox::Yes ? QMessageBox::No
                                                                      : request.defaultButton);
    }
    const int answer = box.exec();
    return QMessageBox::StandardButton(answer);
}
