// Editing with a history: undoing and redoing Insert Column on a small and a
// large pattern, pasting a block of cells against setting them through the
// model, and the memory a thousand undo steps keep.

#include "benchcontext.h"
#include "results.h"
#include "workload.h"

#include "designer/gridlayout.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QUndoStack>

#include <benchmark/benchmark.h>
#include <malloc.h>

namespace {

GridEditor &editorOf(const frmCreatePattern &window)
{
    return *window.findChild<GridEditor *>(QStringLiteral("GridEditor1"));
}

void trigger(const frmCreatePattern &window, const char *action)
{
    window.findChild<QAction *>(QLatin1String(action))->trigger();
}

// The designer window with the pattern of `rows` rows open; false, with the
// benchmark marked failed, when it did not open whole.
bool openPattern(benchmark::State &state, frmCreatePattern &window, int rows)
{
    window.show();
    QApplication::processEvents();
    window.FileName = Workload::patternPath(rows);
    window.DoOpen();
    QApplication::processEvents();
    if (gridOf(window).RowCount() != rows) {
        state.SkipWithError("the pattern did not open");
        return false;
    }
    return true;
}

// Figure 10: Insert Column taken back and made again, through the window's
// Undo and Redo, in the middle of the pattern.
void BM_UndoInsertColumn(benchmark::State &state)
{
    const int rows = int(state.range(0));
    BenchContext context;
    frmCreatePattern window(context);
    if (!openPattern(state, window, rows))
        return;
    gridOf(window).setCurrentCell(rows / 2, GridLayout::kFirstFieldColumn + 10);
    trigger(window, "mnuInsert");
    for (auto _ : state) {
        trigger(window, "mnuUndo");
        trigger(window, "mnuRedo");
    }
    if (editorOf(window).history()->count() != 1)
        state.SkipWithError("Insert Column was not one step");
}

// Ten lines of 100 cells, the cells told apart by `mark`.
QList<QStringList> block(QChar mark)
{
    QList<QStringList> lines;
    for (int line = 0; line < 10; ++line) {
        QStringList cells;
        for (int cell = 0; cell < 100; ++cell)
            cells << QStringLiteral("[C]:%1%2:%3").arg(mark).arg(cell).arg(QString::number(cell).size() + 1);
        lines << cells;
    }
    return lines;
}

QString clipboardText(const QList<QStringList> &lines)
{
    QString text;
    for (const QStringList &cells : lines)
        text += cells.join(u'\t') + u'\n';
    return text;
}

// Figure 11: pasting 1,000 cells over 1,000 filled ones, two blocks in
// turn, from Field1 of row 100 on. The clipboard is filled with the timer
// stopped; the history is emptied now and then, also untimed.
void BM_Paste(benchmark::State &state)
{
    BenchContext context;
    frmCreatePattern window(context);
    if (!openPattern(state, window, 1000))
        return;
    const QString texts[] = {clipboardText(block(u'A')), clipboardText(block(u'B'))};
    int turn = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QGuiApplication::clipboard()->setText(texts[turn]);
        turn = 1 - turn;
        if (editorOf(window).history()->count() > 100)
            editorOf(window).history()->clear();
        gridOf(window).setCurrentCell(100, GridLayout::kFirstFieldColumn);
        state.ResumeTiming();
        trigger(window, "mnuPaste");
    }
    if (gridOf(window).CellText(109, GridLayout::kLastFieldColumn) != block(turn ? u'A' : u'B').at(9).at(99))
        state.SkipWithError("the paste did not land");
}

// The same cells set one by one through the window's model, unrecorded.
void BM_PasteBaseline(benchmark::State &state)
{
    BenchContext context;
    frmCreatePattern window(context);
    if (!openPattern(state, window, 1000))
        return;
    GridTableModel &grid = gridOf(window);
    grid.record(nullptr);
    const QList<QStringList> blocks[] = {block(u'A'), block(u'B')};
    int turn = 0;
    for (auto _ : state) {
        const QList<QStringList> &lines = blocks[turn];
        turn = 1 - turn;
        for (int line = 0; line < 10; ++line) {
            for (int cell = 0; cell < 100; ++cell)
                grid.SetCellText(100 + line, GridLayout::kFirstFieldColumn + cell, lines.at(line).at(cell));
        }
    }
}

// Figure 12: the heap a thousand steps keep on the 10,000-row pattern:
// Insert Column, a field set and Delete in turn over rows all through it,
// against the same edits with nothing recorded.
void BM_HistoryMemory(benchmark::State &state)
{
    const bool recorded = state.range(0) != 0;
    for (auto _ : state) {
        BenchContext context;
        frmCreatePattern window(context);
        if (!openPattern(state, window, 10000))
            return;
        GridTableModel &grid = gridOf(window);
        GridEditor &editor = editorOf(window);
        if (!recorded)
            grid.record(nullptr);
        malloc_trim(0);
        const size_t before = mallinfo2().uordblks;
        for (int step = 0; step < 1000; ++step) {
            grid.setCurrentCell(1 + step * 7 % 10000, GridLayout::kFirstFieldColumn + step % 50);
            switch (step % 3) {
            case 0: trigger(window, "mnuInsert"); break;
            case 1:
                editor.perform(QStringLiteral("Field Change"), [&] {
                    grid.SetCellText(grid.Row(), grid.Col(), QStringLiteral("[C]:Z%1").arg(step));
                });
                break;
            case 2: editor.clearSelection(QStringLiteral("Delete")); break;
            }
        }
        const size_t after = mallinfo2().uordblks;
        if (recorded && editor.history()->count() != 1000) {
            state.SkipWithError("not every edit was a step");
            return;
        }
        Results::processes()[recorded ? "history/recorded" : "history/unrecorded"].push_back(double(after - before));
    }
}

} // namespace

BENCHMARK(BM_UndoInsertColumn)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Paste)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PasteBaseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HistoryMemory)->Arg(1)->Arg(0)->Iterations(1)->Unit(benchmark::kMillisecond);
