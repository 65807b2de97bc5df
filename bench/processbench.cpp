// Whole-process figures: start-up to the first painted window, and peak
// memory with the 10,000-row pattern open and with a million one-cell lines
// open, each against an empty Qt main window measured alternately in the
// same run; and the command-line checker's commands on that pattern.

#include "results.h"
#include "workload.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include <benchmark/benchmark.h>
#include <cstring>
#include <chrono>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

struct Child
{
    bool ok = false;
    double wallSeconds = 0;
    double cpuSeconds = 0;
    double peakBytes = 0;   // as the child reports it; 0 when it does not
};

double now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Runs a program offscreen, set to end after its first paint. Its rusage
// (wait4) gives its CPU time; its peak resident memory is what it prints
// itself, because a spawned child's rusage peak includes this process's.
Child runChild(const std::string &program, const std::vector<std::string> &args,
               const std::vector<std::string> &extraEnv = {}, int expectedStatus = 0,
               const char *outputFile = nullptr)
{
    std::vector<std::string> env;
    for (char **e = environ; *e; ++e) {
        if (std::strncmp(*e, "QT_QPA_PLATFORM=", 16) != 0
            && std::strncmp(*e, "ZN7_BENCH_QUIT_AFTER_PAINT=", 27) != 0
            && std::strncmp(*e, "GLIBC_TUNABLES=", 15) != 0)
            env.emplace_back(*e);
    }
    env.emplace_back("QT_QPA_PLATFORM=offscreen");
    env.emplace_back("ZN7_BENCH_QUIT_AFTER_PAINT=1");
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    std::vector<char *> envp;
    for (std::string &e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> argStore{program};
    argStore.insert(argStore.end(), args.begin(), args.end());
    std::vector<char *> argv;
    for (std::string &a : argStore)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string output = outputFile ? outputFile : Workload::scratchPath(QStringLiteral("child.out")).toStdString();
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);

    Child child;
    const double start = now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return child;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return child;
    child.wallSeconds = now() - start;
    child.cpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
    child.ok = WIFEXITED(status) && WEXITSTATUS(status) == expectedStatus;
    QFile printed(QString::fromStdString(output));
    if (printed.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : printed.readAll().split('\n')) {
            if (line.startsWith("peak-rss-bytes "))
                child.peakBytes = line.mid(15).toDouble();
        }
    }
    return child;
}

void record(const std::string &name, const Child &child)
{
    auto &values = Results::processes();
    values[name].push_back(child.wallSeconds);
    values[name + "/cpu"].push_back(child.cpuSeconds);
    values[name + "/peak"].push_back(child.peakBytes);
}

// Figure 6: the designer, started as a user starts it, and the empty window,
// in alternating order.
void BM_StartUp(benchmark::State &state)
{
    bool designerFirst = true;
    for (auto _ : state) {
        for (const bool designer : {designerFirst, !designerFirst}) {
            const Child child = runChild(designer ? ZN7_DESIGNER_EXE : ZN7_EMPTY_WINDOW_EXE, {});
            if (!child.ok) {
                state.SkipWithError(designer ? "the designer did not start and paint"
                                             : "the empty window did not start and paint");
                return;
            }
            record(designer ? "startup/designer" : "startup/empty", child);
        }
        designerFirst = !designerFirst;
    }
}

// Figure 7: the designer holding the 10,000-row pattern, and the empty window.
void BM_PeakMemory(benchmark::State &state)
{
    const std::string pattern = Workload::patternPath(10000).toStdString();
    auto &values = Results::processes();
    values["memory/file"] = {double(QFileInfo(QString::fromStdString(pattern)).size())};
    for (auto _ : state) {
        const Child opened = runChild(ZN7_OPEN_PATTERN_EXE, {pattern});
        const Child empty = runChild(ZN7_EMPTY_WINDOW_EXE, {});
        if (!opened.ok || !empty.ok || opened.peakBytes <= 0 || empty.peakBytes <= 0) {
            state.SkipWithError("a child did not start, load and paint");
            return;
        }
        record("memory/pattern", opened);
        record("memory/empty", empty);
    }
}

// Figure 7b: the same for a file of a million one-cell lines, where what a
// row costs beside its cells shows.
void BM_PeakMemoryShortLines(benchmark::State &state)
{
    const std::string pattern = Workload::shortLinesPath().toStdString();
    auto &values = Results::processes();
    values["memory/lines/file"] = {double(QFileInfo(QString::fromStdString(pattern)).size())};
    for (auto _ : state) {
        const Child opened = runChild(ZN7_OPEN_PATTERN_EXE, {pattern});
        const Child empty = runChild(ZN7_EMPTY_WINDOW_EXE, {});
        if (!opened.ok || !empty.ok || opened.peakBytes <= 0 || empty.peakBytes <= 0) {
            state.SkipWithError("a child did not start, load and paint");
            return;
        }
        record("memory/lines", opened);
        record("memory/lines-empty", empty);
    }
}

// Figures 10 and 11: the command-line checker on the 10,000-row pattern as
// whole processes, its check, its CSV layout (written to /dev/null) and an
// empty --version, in turn. The check finds rows of differing lengths in
// that pattern, so it ends with status 1.
void BM_Checker(benchmark::State &state)
{
    const std::string pattern = Workload::patternPath(10000).toStdString();
    const std::string data = QFileInfo(QStringLiteral(ZN7_SAMPLE_DESKTOP)).absolutePath().toStdString();
    const struct
    {
        const char *name;
        std::vector<std::string> args;
        int status;
    } runs[] = {{"zn7pat/check", {"check", "--data", data, pattern}, 1},
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
