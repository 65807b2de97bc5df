// Opening, saving and the length display on patterns of 1,000 and 10,000 rows
// of 100 filled cells, each against the bare work it cannot avoid.

#include "benchcontext.h"
#include "workload.h"

#include "components/gui/grideditor.h"
#include "designer/gui/frmcreatepattern.h"
#include "designer/gridlayout.h"
#include "designer/linelength.h"
#include "designer/patternfile.h"
#include "designer/gui/statusbar.h"

#include <QApplication>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringTokenizer>

#include <benchmark/benchmark.h>

namespace {

// The designer window as the program shows it, with the pattern of `rows`
// rows open. Returns false, with the benchmark marked failed, when the file
// did not load whole or a question was asked.
bool openWindow(benchmark::State &state, BenchContext &context, frmCreatePattern &window, int rows)
{
    window.show();
    QApplication::processEvents();
    window.FileName = Workload::patternPath(rows);
    window.DoOpen();
    QApplication::processEvents();
    if (gridOf(window).RowCount() != rows || context.prompts.count() != 0) {
        state.SkipWithError("the pattern did not open");
        return false;
    }
    return true;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Figure 1 and 3: DoOpen into the real grid, then the events that bring the
// view up to date and paint it.
void BM_Open(benchmark::State &state)
{
    const int rows = int(state.range(0));
    BenchContext context;
    frmCreatePattern window(context);
    if (!openWindow(state, context, window, rows))
        return;
    const QString path = Workload::patternPath(rows);
    for (auto _ : state) {
        window.FileName = path;
        window.DoOpen();
        QApplication::processEvents();
    }
    if (gridOf(window).RowCount() != rows)
        state.SkipWithError("the pattern did not open");
}

// The least that opening can do: read the file, decode it and split it into
// cells in memory. Lines are decoded one at a time: on this machine that is
// faster than decoding the whole file at once, which makes a 2-byte copy of
// the whole file that must be faulted in and walked again.
void BM_OpenBaseline(benchmark::State &state)
{
    const QString path = Workload::patternPath(int(state.range(0)));
    qsizetype count = 0;
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            break;
        const QByteArray bytes = file.readAll();
        QStringDecoder decoder("windows-874");
        QList<QString> cells;
        for (qsizetype from = 0; from < bytes.size();) {
            qsizetype end = bytes.indexOf('\n', from);
            const qsizetype next = end < 0 ? bytes.size() : end + 1;
            if (end < 0)
                end = bytes.size();
            if (end > from && bytes.at(end - 1) == '\r')
                --end;
            const QString line = decoder.decode(QByteArrayView(bytes.constData() + from, end - from));
            for (QStringView piece : QStringTokenizer(line, u';'))
                cells.append(piece.toString());
            from = next;
        }
        count = cells.size();
        benchmark::DoNotOptimize(cells.data());
    }
    if (count != qsizetype(state.range(0)) * (Workload::kCellsPerRow + 1) + 3)
        state.SkipWithError("the baseline split the file wrongly");
}

// Figure 2 and 3: the pattern writer on the opened grid, through its safe
// save (a temporary file, renamed once complete).
void BM_Save(benchmark::State &state)
{
    const int rows = int(state.range(0));
    BenchContext context;
    frmCreatePattern window(context);
    if (!openWindow(state, context, window, rows))
        return;
    const QString target = Workload::scratchPath(QStringLiteral("save%1.PAT").arg(rows));
    for (auto _ : state) {
        PatternWriter writer;
        if (!writer.save(target, window.PMODE, gridOf(window))) {
            state.SkipWithError("the writer failed");
            break;
        }
    }
    // What was written is what was read: the generated file is in the form the
    // writer writes.
    if (readAll(target) != Workload::patternBytes(rows))
        state.SkipWithError("the saved file differs from the opened one");
}

// The least that saving can do: encode the file's text and write the bytes
// through the same kind of safe save.
void BM_SaveBaseline(benchmark::State &state)
{
    const int rows = int(state.range(0));
    const QString text = QStringDecoder("windows-874").decode(Workload::patternBytes(rows));
    const QString target = Workload::scratchPath(QStringLiteral("base%1.PAT").arg(rows));
    for (auto _ : state) {
        const QByteArray bytes = QStringEncoder("windows-874").encode(text);
        QSaveFile file(target);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
            state.SkipWithError("the baseline could not write");
            break;
        }
    }
}

// Figure 4: the length display for a row of 100 filled cells in the middle of
// the pattern.
void BM_Recalculate(benchmark::State &state)
{
    const int rows = int(state.range(0));
    BenchContext context;
    frmCreatePattern window(context);
    if (!openWindow(state, context, window, rows))
        return;
    gridOf(window).setCurrentCell(rows / 2, GridLayout::kFirstFieldColumn + 49);
    QApplication::processEvents();
    for (auto _ : state)
        window.Recalculate();
    if (!statusOf(window).startsWith(QLatin1String("Total Length = ")))
        state.SkipWithError("the status bar shows no lengths");
}

// The bare sum: element 2 of each of the row's 100 cell texts, as a number.
void BM_LengthSum(benchmark::State &state)
{
    const int rows = int(state.range(0));
    BenchContext context;
    frmCreatePattern window(context);
    if (!openWindow(state, context, window, rows))
        return;
    QStringList texts;
    for (int c = GridLayout::kFirstFieldColumn; c <= GridLayout::kLastFieldColumn; ++c)
        texts.append(gridOf(window).CellText(rows / 2, c));
    int sum = 0;
    for (auto _ : state) {
        sum = 0;
        for (const QString &text : texts) {
            int element = 0;
            for (QStringView part : QStringTokenizer(text, u':')) {
                if (element++ == 2) {
                    sum += part.toInt();
                    break;
                }
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    gridOf(window).setCurrentCell(rows / 2, GridLayout::kLastFieldColumn);
    if (sum != LineLength::measure(gridOf(window)).total)
        state.SkipWithError("the bare sum differs from the designer's");
}

} // namespace

BENCHMARK(BM_Open)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenBaseline)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveBaseline)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Recalculate)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LengthSum)->Arg(100)->Unit(benchmark::kMicrosecond);
