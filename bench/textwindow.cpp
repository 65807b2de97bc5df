// The least window that shows text: a main window of the designer's size
// with a menu bar, a status bar and one line of text. Any window with a word
// in it pays for Qt's fonts, so the start-up figure holds the designer
// against this one; the empty window stays beside it for information.

#include "helper.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("E&xit"), &app, &QApplication::quit);
    window.menuBar()->addMenu(QStringLiteral("&Help"));
    window.statusBar()->showMessage(QStringLiteral("Total Length = 0 Colume Length = 0"));
    window.setCentralWidget(new QLabel(QStringLiteral("Text Export Pattern Designer")));
    window.resize(702, 400);
    window.show();
    const int status = app.exec();
    printPeakMemory();
    return status;
}
