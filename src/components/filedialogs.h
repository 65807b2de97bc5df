#pragma once

#include <QString>

class QWidget;

// The open and save dialogs for pattern files.
class FileDialogs
{
public:
    virtual ~FileDialogs();

    // Shows a modal file dialog, an open dialog or, when saveMode is true, a
    // save dialog that asks nothing about overwriting (the caller asks). The
    // filter has the form "Description (*.EXT)|*.EXT". A typed name without
    // extension gets the filter's. Returns the chosen path, "" when cancelled.
    virtual QString ChooseFile(const QString &, const QString &initialFile, const QString &filter,
                               bool &, bool &saveMode, int, int);

    void setParentWidget(QWidget *parent) { m_parent = parent; }

private:
    QWidget *m_parent = nullptr;
};
