// Typing in the 10,000-row pattern with crash recovery on, against the same
// with it off.

#include "benchcontext.h"
#include "workload.h"

#include "designer/gridlayout.h"
#include "designer/recoverykeeper.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>

#include <benchmark/benchmark.h>

namespace {

// Figure 10: one keystroke an iteration. A cell of the row being typed in
// takes one more character, as the field dialog's OK gives it, and the
// window handles what follows (the status bar, the preview, the view's
// repaint, the keeper's timer); every 50 keystrokes the typing moves on to
// another row. Each repetition lasts three of the keeper's intervals or
// more, so it writes two copies or more, the first of them building every
// row's line after the Open. On process CPU time, so that the copies
// written on the keeper's thread count.
void BM_Typing(benchmark::State &state)
{
    const bool recovery = state.range(0) != 0;
    BenchContext context;
    frmCreatePattern window(context);
    window.show();
    window.FileName = Workload::patternPath(10000);
    window.DoOpen();
    QApplication::processEvents();
    GridTableModel &grid = gridOf(window);
    auto *keeper = window.findChild<RecoveryKeeper *>();
    if (grid.RowCount() != 10000 || !keeper) {
        state.SkipWithError("the pattern did not open");
        return;
    }
    keeper->setEnabled(recovery);
    const QDir copies(RecoveryKeeper::defaultFolder(), QStringLiteral("*.recovery"));
    int typed = 0;
    QElapsedTimer clock;
    clock.start();
    for (auto _ : state) {
        const int row = 1 + (typed / 50 * 97) % 10000;
        const int col = GridLayout::kFirstFieldColumn + (typed / 50) % 100;
        grid.setCurrentCell(row, col);
        grid.SetCellText(row, col, QStringLiteral("[C]:%1:%2").arg(QString(typed % 50 + 1, u'ก')).arg(typed % 50 + 1));
        QApplication::processEvents();
        ++typed;
    }
    // What a run of two intervals or more paid for: a copy, or none. (Google
    // Benchmark first runs a few iterations to size the run.)
    QApplication::processEvents();
    const bool copied = !copies.entryList().isEmpty();
    if ((clock.elapsed() > 2 * RecoveryKeeper::kInterval && recovery != copied) || (!recovery && copied) || context.prompts.count() != 0)
        state.SkipWithError(recovery ? "no copy was written" : "a copy was written with recovery off");
    keeper->setModified(false);
}

} // namespace

BENCHMARK(BM_Typing)->Arg(0)->Arg(1)->MinTime(6.0)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);
