// zn7openpattern FILE: starts the designer as the program does, opens the
// pattern file in its window and ends after the first paint of the opened
// pattern. Its peak memory is that of a designer holding the pattern.
// Exit status 0 only when the pattern was loaded.

#include "helper.h"

#include "benchcontext.h"
#include "designer/gui/frmcreatepattern.h"
#include "startup/gui/zn7tedsrmain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2)
        return 2;
    ZN7TEDSRMain globals;
    // The designer's own executable path, so that start-up finds the sample
    // installation beside it.
    frmCreatePattern *window = ZN7TEDSRMain::start(QStringLiteral(ZN7_DESIGNER_EXE), globals,
                                                   globals.ConfigConnection);
    if (!window)
        return 3;
    window->FileName = QString::fromLocal8Bit(argv[1]);
    window->DoOpen();
    if (window->FileName.isEmpty() || gridOf(*window).RowCount() < 1)
        return 4;
    window->installEventFilter(new ExitAfterFirstPaint(window));
    const int status = app.exec();
    printPeakMemory();
    return status;
}
