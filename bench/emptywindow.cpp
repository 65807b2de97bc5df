// The least a Qt program does to show a window: an empty main window of the
// designer's size. The memory figure measures the designer against it, and
// the start-up figure shows it for information (textwindow.cpp is its
// baseline).

#include "helper.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(702, 400);
    window.show();
    const int status = app.exec();
    printPeakMemory();
    return status;
}
