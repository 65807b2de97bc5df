// The least a Qt program does to show a window: an empty main window of the
// designer's size. The start-up and memory figures measure the designer
// against it.

#include "helper.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(702, 400);
    if (qEnvironmentVariableIsSet("ZN7_BENCH_QUIT_AFTER_PAINT"))
        window.installEventFilter(new ExitAfterFirstPaint(&window));
    window.show();
    const int status = app.exec();
    printPeakMemory();
    return status;
}
