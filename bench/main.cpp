// zn7bench: runs the designer's benchmarks and prints one table of the
// figures, each computed from measurements taken in the same run (figures.h),
// with its target. Google Benchmark's own report goes to standard error, the table to
// standard output.

#include "figures.h"
#include "results.h"
#include "workload.h"

#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <benchmark/benchmark.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace Results {

std::map<std::string, Times> &benchmarks()
{
    static std::map<std::string, Times> values;
    return values;
}

std::map<std::string, std::vector<double>> &processes()
{
    static std::map<std::string, std::vector<double>> values;
    return values;
}

static int g_repetitions = 1;

int repetitions()
{
    return g_repetitions;
}

bool readChildRun(const QString &jsonFile, const std::string &prefix)
{
    QFile file(jsonFile);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QJsonArray runs = QJsonDocument::fromJson(file.readAll()).object().value(u"benchmarks").toArray();
    const std::map<QString, double> seconds = {{QStringLiteral("ns"), 1e-9}, {QStringLiteral("us"), 1e-6},
                                               {QStringLiteral("ms"), 1e-3}, {QStringLiteral("s"), 1.0}};
    bool any = false;
    for (const QJsonValue &value : runs) {
        const QJsonObject run = value.toObject();
        if (run.value(u"run_type").toString() != u"iteration" || run.contains(u"error_occurred"))
            continue;
        const auto unit = seconds.find(run.value(u"time_unit").toString());
        if (unit == seconds.end())
            continue;
        // "BM_Open/10000/repeats:10" and the like: the name without its options.
        const QString name = run.value(u"run_name").toString().section(u'/', 0, 1);
        Times &times = benchmarks()[prefix + name.toStdString()];
        times.real.push_back(run.value(u"real_time").toDouble() * unit->second);
        times.cpu.push_back(run.value(u"cpu_time").toDouble() * unit->second);
        any = true;
    }
    return any;
}

} // namespace Results

namespace {

std::vector<std::string> &failures()
{
    static std::vector<std::string> values;
    return values;
}

// Passes everything on to the console and keeps each repetition's time.
class CollectingReporter final : public benchmark::ConsoleReporter
{
public:
    CollectingReporter()
        : ConsoleReporter(OO_Tabular)
    {
    }

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type != Run::RT_Iteration)
                continue;
            std::string key = run.run_name.function_name;
            if (!run.run_name.args.empty())
                key += "/" + run.run_name.args;
            if (run.error_occurred) {
                failures().push_back(key + ": " + run.error_message);
                continue;
            }
            if (run.iterations <= 0)
                continue;
            Results::Times &times = Results::benchmarks()[key];
            times.real.push_back(run.real_accumulated_time / double(run.iterations));
            times.cpu.push_back(run.cpu_accumulated_time / double(run.iterations));
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

void printTable()
{
    using Figures::Figure;
    using Figures::Formula;
    using Figures::Series;
    auto times = [](const std::string &key, bool cpu) {
        const auto found = Results::benchmarks().find(key);
        if (found == Results::benchmarks().end())
            return Series();
        return cpu ? found->second.cpu : found->second.real;
    };
    // In-process figures are taken on the benchmark thread's CPU time, which
    // the other work on this shared machine disturbs least; wall time beside.
    auto inProcess = [&times](std::initializer_list<std::string> keys) {
        std::pair<std::vector<Series>, std::vector<Series>> series;
        for (const std::string &key : keys) {
            series.first.push_back(times(key, true));
            series.second.push_back(times(key, false));
        }
        return series;
    };
    auto process = [](const std::string &key) {
        const auto found = Results::processes().find(key);
        return found == Results::processes().end() ? Series() : found->second;
    };
    const Series file = process("memory/file");

    std::vector<Figure> figures;
    auto add = [&figures](const std::string &name, Formula formula,
                          std::pair<std::vector<Series>, std::vector<Series>> series, double limit) {
        figures.push_back({name, formula, series.first, series.second, limit});
    };
    add("1 open 10,000 rows / read+decode+split", Formula::Ratio,
        inProcess({"BM_Open/10000", "BM_OpenBaseline/10000"}), 2.5);
    add("2 save 10,000 rows / encode+write", Formula::Ratio,
        inProcess({"BM_Save/10000", "BM_SaveBaseline/10000"}), 2.0);
    // Growth from 1,000 to 10,000 rows, against the growth of the bare work
    // in the same run: both pay the same page faults for the larger file, so
    // what is left is the designer's own growth.
    add("3 open growth / bare read+decode+split's", Formula::Growth,
        inProcess({"BM_Open/10000", "BM_Open/1000", "BM_OpenBaseline/10000", "BM_OpenBaseline/1000"}), 1.2);
    add("3 save growth / bare encode+write's", Formula::Growth,
        inProcess({"BM_Save/10000", "BM_Save/1000", "BM_SaveBaseline/10000", "BM_SaveBaseline/1000"}), 1.2);
    add("  open 10,000 rows / open 1,000 rows", Formula::Ratio, inProcess({"BM_Open/10000", "BM_Open/1000"}), 0);
    add("  save 10,000 rows / save 1,000 rows", Formula::Ratio, inProcess({"BM_Save/10000", "BM_Save/1000"}), 0);
    add("  same, bare read+decode+split", Formula::Ratio,
        inProcess({"BM_OpenBaseline/10000", "BM_OpenBaseline/1000"}), 0);
    add("  same, bare encode+write", Formula::Ratio, inProcess({"BM_SaveBaseline/10000", "BM_SaveBaseline/1000"}), 0);
    add("  open, freed memory kept mapped", Formula::Ratio, inProcess({"kept/BM_Open/10000", "kept/BM_Open/1000"}), 0);
    add("  save, freed memory kept mapped", Formula::Ratio, inProcess({"kept/BM_Save/10000", "kept/BM_Save/1000"}), 0);
    add("4 Recalculate on 10,000 rows / on 100 rows", Formula::Ratio,
        inProcess({"BM_Recalculate/10000", "BM_Recalculate/100"}), 1.2);
    add("4 Recalculate / bare sum of 100 lengths", Formula::Ratio,
        inProcess({"BM_Recalculate/100", "BM_LengthSum/100"}), 2.0);
    add("5 SetFormat 2,000 fields / bare query", Formula::Ratio, inProcess({"BM_SetFormat", "BM_FieldQuery"}), 3.0);
    figures.push_back({"6 start-up to first paint / window with text", Formula::Ratio,
                       {process("startup/designer"), process("startup/text")},
                       {process("startup/designer/cpu"), process("startup/text/cpu")}, 1.2});
    figures.push_back({"  start-up to first paint / empty window", Formula::Ratio,
                       {process("startup/designer"), process("startup/empty")},
                       {process("startup/designer/cpu"), process("startup/empty/cpu")}, 0});
    figures.push_back({"7 peak memory over empty window / file size", Formula::Excess,
                       {process("memory/pattern/peak"), process("memory/empty/peak")}, {}, 8.0,
                       file.empty() ? 0 : file.front(), "bytes"});
    const Series lines = process("memory/lines/file");
    figures.push_back({"7b same, 1,000,000 one-cell lines", Formula::Excess,
                       {process("memory/lines/peak"), process("memory/lines-empty/peak")}, {}, 8.0,
                       lines.empty() ? 0 : lines.front(), "bytes"});
    add("8 preview of a 100-cell row / bare layout", Formula::Ratio,
        inProcess({"BM_PreviewRow", "BM_PreviewRowBaseline"}), 3.0);
    add("9 checks of 10,000 rows / open 10,000 rows", Formula::Ratio,
        inProcess({"BM_Checks/10000", "BM_Open/10000"}), 1.0);

    add("10 undo+redo Insert Column 10,000 / 100 rows", Formula::Ratio,
        inProcess({"BM_UndoInsertColumn/10000", "BM_UndoInsertColumn/100"}), 1.2);
    add("11 paste 1,000 cells / set them via the model", Formula::Ratio,
        inProcess({"BM_Paste", "BM_PasteBaseline"}), 2.0);
    figures.push_back({"12 heap kept by 1,000 undo steps, MB", Formula::Excess,
                       {process("history/recorded"), process("history/unrecorded")}, {}, 1.0, 1e6, "bytes",
                       "unit"});
    // The checker's processes on their CPU time (user and system, from
    // wait4), DoOpen on the benchmark thread's; wall time beside.
    const auto checker = [&process, &times](const std::string &name, bool cpu) {
        return name.rfind("BM_", 0) == 0 ? times(name, cpu) : process(cpu ? name + "/cpu" : name);
    };
    figures.push_back({"13 zn7pat check / (DoOpen + zn7pat --version)", Formula::RatioToSum,
                       {checker("zn7pat/check", true), checker("BM_Open/10000", true), checker("zn7pat/version", true)},
                       {checker("zn7pat/check", false), checker("BM_Open/10000", false), checker("zn7pat/version", false)},
                       1.5});
    figures.push_back({"14 zn7pat layout --format csv / check", Formula::Ratio,
                       {checker("zn7pat/layout", true), checker("zn7pat/check", true)},
                       {checker("zn7pat/layout", false), checker("zn7pat/check", false)}, 2.0});
    add("15 typing in 10,000 rows, recovery on / off", Formula::Ratio,
        inProcess({"BM_Typing/1", "BM_Typing/0"}), 1.1);
    // The checker's processes on their CPU time, the bare read and the
    // window on the benchmark thread's; wall time beside.
    figures.push_back({"16 zn7pat inspect 100,000 lines / read+decode+split", Formula::Ratio,
                       {process("verify/inspect/cpu"), times("BM_ExportBaseline", true)},
                       {process("verify/inspect"), times("BM_ExportBaseline", false)}, 3.0});
    for (const char *command : {"compare", "diff"}) {
        const std::string name = std::string("verify/") + command;
        figures.push_back({std::string("17 zn7pat ") + command + " / check, 10,000 rows", Formula::Ratio,
                           {process(name + "/cpu"), process("verify/check/cpu")},
                           {process(name), process("verify/check")}, 2.0});
    }
    figures.push_back({"18 Inspect window, 100,000 lines / zn7pat inspect", Formula::Ratio,
                       {times("BM_ExportWindow", true), process("verify/inspect/cpu")},
                       {times("BM_ExportWindow", false), process("verify/inspect")}, 1.5});
    add("19 palette filter, 2,000 fields / bare filter proxy", Formula::Ratio,
        inProcess({"BM_PaletteFilter", "BM_PaletteFilterBaseline"}), 2.0);
    add("20 page scrolled, readable cells / raw cells", Formula::Ratio,
        inProcess({"BM_ScrollPage/1", "BM_ScrollPage/0"}), 1.5);

    std::printf("%s\n", Figures::heading().c_str());
    for (const Figure &figure : figures)
        std::printf("%s\n", Figures::line(figure, Figures::compute(figure)).c_str());
    std::printf("Figures 1-5 and 8-11: CPU time of the benchmark thread (\"other\": the same on wall time). "
                "Figure 6: wall time of whole processes (\"other\": their CPU time). Figure 7: peak RSS. "
                "Figure 12: heap in use (mallinfo2) after the edits less before them, with and without the history. "
                "Figures 13 and 14: CPU time of the processes and of DoOpen's thread (\"other\": wall time). "
                "Figure 15: CPU time of the process, its writer thread included (\"other\": wall time). "
                "Figures 16 to 18: CPU time of the checker's processes, of the bare read and of the window's "
                "thread (\"other\": wall time). Figures 19 and 20: CPU time of the benchmark thread "
                "(\"other\": wall time).\n");
    for (const std::string &failure : failures())
        std::printf("FAILED %s\n", failure.c_str());
}

} // namespace

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The settings and recovery copies of the run and of the programs it
    // starts stay in the run's folder, away from the user's.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(Workload::scratchPath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(Workload::scratchPath(QStringLiteral("data"))));
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--benchmark_repetitions=", 0) == 0)
            Results::g_repetitions = std::max(1, std::atoi(arg.c_str() + 24));
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QApplication app(argc, argv);

    CollectingReporter reporter;
    reporter.SetOutputStream(&std::cerr);
    reporter.SetErrorStream(&std::cerr);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::cerr.flush();
    printTable();
    benchmark::Shutdown();
    return 0;
}
