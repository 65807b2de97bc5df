// Whole-process figures: start-up to the first painted window, and peak
// memory with the 10,000-row pattern open and with a million one-cell lines
// open, each against an empty Qt main window measured alternately in the
// same run; and the command-line checker's commands on that pattern.

#include "children.h"
#include "results.h"
#include "workload.h"

#include <QFileInfo>

#include <benchmark/benchmark.h>
#include <string>
#include <vector>

namespace {

// Figure 6: the designer, started as a user starts it, the least window
// that shows text and the empty window, in turn, each ending after its first
// paint.
void BM_StartUp(benchmark::State &state)
{
    const struct
    {
        const char *name;
        const char *program;
    } runs[] = {{"startup/designer", ZN7_DESIGNER_EXE}, {"startup/text", ZN7_TEXT_WINDOW_EXE},
                {"startup/empty", ZN7_EMPTY_WINDOW_EXE}};
    constexpr int kRuns = int(std::size(runs));
    int first = 0;
    for (auto _ : state) {
        for (int i = 0; i < kRuns; ++i) {
            const auto &run = runs[(first + i) % kRuns];
            const Child child = runChild(run.program, {}, quitAfterPaint());
            if (!child.ok) {
                state.SkipWithError((std::string(run.name) + ": the program did not start and paint").c_str());
                return;
            }
            record(run.name, child);
        }
        first = (first + 1) % kRuns;
    }
}

// The designer holding `pattern`, and the empty window, each a process of
// its own: their peaks as `opened` and `empty`, the file's size as `file`.
void peakMemory(benchmark::State &state, const QString &pattern, const std::string &file,
                const std::string &opened, const std::string &empty)
{
    Results::processes()[file] = {double(QFileInfo(pattern).size())};
    for (auto _ : state) {
        const Child designer = runChild(ZN7_OPEN_PATTERN_EXE, {pattern.toStdString()});
        const Child window = runChild(ZN7_EMPTY_WINDOW_EXE, {}, quitAfterPaint());
        if (!designer.ok || !window.ok || designer.peakBytes <= 0 || window.peakBytes <= 0) {
            state.SkipWithError("a child did not start, load and paint");
            return;
        }
        record(opened, designer);
        record(empty, window);
    }
}

// Figure 7: the 10,000-row pattern.
void BM_PeakMemory(benchmark::State &state)
{
    peakMemory(state, Workload::patternPath(10000), "memory/file", "memory/pattern", "memory/empty");
}

// Figure 7b: a file of a million one-cell lines, where what a row costs
// beside its cells shows.
void BM_PeakMemoryShortLines(benchmark::State &state)
{
    peakMemory(state, Workload::shortLinesPath(), "memory/lines/file", "memory/lines", "memory/lines-empty");
}

// Figures 10 and 11: the command-line checker on the 10,000-row pattern as
// whole processes, its check, its CSV layout (written to /dev/null) and an
// empty --version, in turn. The pattern's lines share no length most of them
// have and its samples fit, so the check finds nothing and ends with status 0.
void BM_Checker(benchmark::State &state)
{
    const std::string pattern = Workload::patternPath(10000).toStdString();
    const std::string data = QFileInfo(QStringLiteral(ZN7_SAMPLE_DESKTOP)).absolutePath().toStdString();
    const struct
    {
        const char *name;
        std::vector<std::string> args;
        int status;
    } runs[] = {{"zn7pat/check", {"check", "--data", data, pattern}, 0},
                {"zn7pat/layout", {"layout", "--format", "csv", "--data", data, pattern}, 0},
                {"zn7pat/version", {"--version"}, 0}};
    int first = 0;
    for (auto _ : state) {
        for (int i = 0; i < 3; ++i) {
            const auto &run = runs[(first + i) % 3];
            const Child child = runChild(ZN7_PAT_EXE, run.args, {}, run.status, "/dev/null");
            if (!child.ok) {
                state.SkipWithError("zn7pat did not run as expected");
                return;
            }
            record(run.name, child);
        }
        first = (first + 1) % 3;
    }
}

// Shown beside figure 3: the open and save benchmarks again, in a child run
// of this program whose allocator keeps freed memory mapped. In the main run
// the 1,000-row pattern reuses memory the process already holds while the
// 10,000-row one is larger than what glibc keeps and faults its memory in
// anew on every open; here both reuse it, so the plain ratio shows the work
// alone. (Figure 3 itself divides by the bare work's growth, which pays the
// same faults.)
void BM_GrowthMemoryKept(benchmark::State &state)
{
    const std::string out = Workload::scratchPath(QStringLiteral("kept.json")).toStdString();
    for (auto _ : state) {
        const Child child = runChild(
            "/proc/self/exe",
            {"--benchmark_filter=^BM_(Open|Save)/", "--benchmark_enable_random_interleaving=true",
             "--benchmark_repetitions=" + std::to_string(Results::repetitions()),
             "--benchmark_out_format=json", "--benchmark_out=" + out},
            {"GLIBC_TUNABLES=glibc.malloc.trim_threshold=4000000000:"
             "glibc.malloc.mmap_threshold=4000000000"});
        if (!child.ok || !Results::readChildRun(QString::fromStdString(out), "kept/")) {
            state.SkipWithError("the child run failed");
            return;
        }
    }
}

} // namespace

BENCHMARK(BM_GrowthMemoryKept)->Iterations(1)->Repetitions(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartUp)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Checker)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeakMemory)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeakMemoryShortLines)->Iterations(1)->Unit(benchmark::kMillisecond);
