// Figures 16 to 18: a pattern held against the real world. zn7pat inspect
// of a 100,000-line export file against the bare read of that file; compare
// and diff of the 10,000-row pattern against its check; the Inspect window
// opening that file against zn7pat inspect of it.

#include "benchcontext.h"
#include "children.h"
#include "workload.h"

#include "components/codepage.h"
#include "components/wholefile.h"
#include "designer/exportmatch.h"
#include "designer/gridlayout.h"
#include "designer/gui/exportwindow.h"
#include "designer/patternfile.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <benchmark/benchmark.h>

namespace {

constexpr int kExportLines = 100000;

// The least that reading an export file can do: read it, and decode it
// into its lines, as figure 1's baseline reads a pattern file.
void BM_ExportBaseline(benchmark::State &state)
{
    const QString path = Workload::exportFilePath(kExportLines);
    qsizetype count = 0;
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            break;
        const QByteArray bytes = file.readAll();
        QStringDecoder decoder("windows-874");
        QList<QString> lines;
        for (qsizetype from = 0; from < bytes.size();) {
            qsizetype end = bytes.indexOf('\n', from);
            const qsizetype next = end < 0 ? bytes.size() : end + 1;
            if (end < 0)
                end = bytes.size();
            if (end > from && bytes.at(end - 1) == '\r')
                --end;
            lines.append(decoder.decode(QByteArrayView(bytes.constData() + from, end - from)));
            from = next;
        }
        count = lines.size();
        benchmark::DoNotOptimize(lines.data());
    }
    if (count != kExportLines)
        state.SkipWithError("the baseline split the file wrongly");
}

// The checker's commands as whole processes, in turn: inspect, and check,
// compare and diff of the 10,000-row pattern, each output to /dev/null.
void BM_VerifyCommands(benchmark::State &state)
{
    const std::string data = QFileInfo(QStringLiteral(ZN7_SAMPLE_DESKTOP)).absolutePath().toStdString();
    const std::string pattern = Workload::patternPath(10000).toStdString();
    const struct
    {
        const char *name;
        std::vector<std::string> args;
        int status;
    } runs[] = {
        {"verify/inspect", {"inspect", "--data", data, Workload::exportPatternPath().toStdString(),
                            Workload::exportFilePath(kExportLines).toStdString()}, 0},
        {"verify/check", {"check", "--data", data, pattern}, 0},
        {"verify/compare", {"compare", "--data", data, pattern, Workload::layoutTablePath().toStdString()}, 1},
        {"verify/diff", {"diff", "--data", data, pattern, Workload::changedPatternPath().toStdString()}, 1},
    };
    constexpr int kRuns = int(std::size(runs));
    int first = 0;
    for (auto _ : state) {
        for (int i = 0; i < kRuns; ++i) {
            const auto &run = runs[(first + i) % kRuns];
            const Child child = runChild(ZN7_PAT_EXE, run.args, {}, run.status, "/dev/null");
            if (!child.ok) {
                state.SkipWithError((std::string(run.name) + " did not run as expected").c_str());
                return;
            }
            record(run.name, child);
        }
        first = (first + 1) % kRuns;
    }
}

// The Inspect window opening the export file as File > Inspect Export File
// opens it: read, inspected, shown and painted.
void BM_ExportWindow(benchmark::State &state)
{
    GridTableModel grid;
    PatternReader reader;
    if (!reader.readFile(Workload::exportPatternPath())) {
        state.SkipWithError("the pattern cannot be read");
        return;
    }
    GridLayout::layOut(grid);
    PatternFile::loadRows(reader.takeLines(), grid);
    const QString path = Workload::exportFilePath(kExportLines);
    qsizetype shown = 0;
    for (auto _ : state) {
        const std::optional<QByteArray> bytes = readWholeFile(path, nullptr);
        std::optional<ExportMatch::ExportText> text =
            ExportMatch::decode(*bytes, CodePage::looksLikeUtf8(*bytes) ? "utf-8" : CodePage::kPattern, nullptr);
        QList<RecordShape::Row> shapes = RecordShape::shapesOf(grid, PatternPreview::Samples());
        ExportMatch::Result result = ExportMatch::inspect(shapes, *text);
        ExportWindow window(path, std::move(shapes), std::move(*text), std::move(result));
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        window.show();
        QApplication::processEvents();
        shown = window.model()->rowCount();
    }
    if (shown != kExportLines)
        state.SkipWithError("the window does not show every line");
}

} // namespace

BENCHMARK(BM_ExportBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VerifyCommands)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportWindow)->Unit(benchmark::kMillisecond);
