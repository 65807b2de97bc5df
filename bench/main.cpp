// zn7bench: runs the designer's benchmarks and prints one table of the
// figures, each a ratio of two measurements taken in the same run, with its
// target. Google Benchmark's own report goes to standard error, the table to
// standard output.

#include "results.h"

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

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Two series measured in the same run, paired in run order.
struct Series
{
    std::vector<double> a;
    std::vector<double> b;
};

// One line of the table: the figure is the ratio of the medians of its
// series; the spread is the lowest and highest ratio of the pairs. `other`
// is the same figure on the other clock, shown beside it.
struct Figure
{
    std::string name;
    Series main;
    Series other;
    double limit = 0;       // 0: shown for reference, no target
    double divisor = 0;     // figure 7: (a - b) / divisor instead of a / b
    std::string unit = "s";
};

std::string amount(double value, const std::string &unit)
{
    char text[32];
    if (unit == "bytes")
        std::snprintf(text, sizeof text, "%.1f MB", value / 1e6);
    else if (value < 1e-3)
        std::snprintf(text, sizeof text, "%.1f us", value * 1e6);
    else
        std::snprintf(text, sizeof text, "%.1f ms", value * 1e3);
    return text;
}

void printTable()
{
    auto times = [](const std::string &key, bool cpu) {
        const auto found = Results::benchmarks().find(key);
        if (found == Results::benchmarks().end())
            return std::vector<double>();
        return cpu ? found->second.cpu : found->second.real;
    };
    // In-process figures are taken on the benchmark thread's CPU time, which
    // the other work on this shared machine disturbs least; wall time beside.
    auto inProcess = [&times](const std::string &a, const std::string &b) {
        return std::pair{Series{times(a, true), times(b, true)}, Series{times(a, false), times(b, false)}};
    };
    auto process = [](const std::string &key) {
        const auto found = Results::processes().find(key);
        return found == Results::processes().end() ? std::vector<double>() : found->second;
    };
    const std::vector<double> file = process("memory/file");

    std::vector<Figure> figures;
    auto add = [&figures](const std::string &name, std::pair<Series, Series> series, double limit) {
        figures.push_back({name, series.first, series.second, limit});
    };
    add("1 open 10,000 rows / read+decode+split", inProcess("BM_Open/10000", "BM_OpenBaseline/10000"), 2.5);
    add("2 save 10,000 rows / encode+write", inProcess("BM_Save/10000", "BM_SaveBaseline/10000"), 2.0);
    add("3 open 10,000 rows / open 1,000 rows", inProcess("BM_Open/10000", "BM_Open/1000"), 12.0);
    add("3 save 10,000 rows / save 1,000 rows", inProcess("BM_Save/10000", "BM_Save/1000"), 12.0);
    add("  same, bare read+decode+split", inProcess("BM_OpenBaseline/10000", "BM_OpenBaseline/1000"), 0);
    add("  same, bare encode+write", inProcess("BM_SaveBaseline/10000", "BM_SaveBaseline/1000"), 0);
    add("  open, freed memory kept mapped", inProcess("kept/BM_Open/10000", "kept/BM_Open/1000"), 0);
    add("  save, freed memory kept mapped", inProcess("kept/BM_Save/10000", "kept/BM_Save/1000"), 0);
    add("4 Recalculate on 10,000 rows / on 100 rows", inProcess("BM_Recalculate/10000", "BM_Recalculate/100"), 1.2);
    add("4 Recalculate / bare sum of 100 lengths", inProcess("BM_Recalculate/100", "BM_LengthSum/100"), 2.0);
    add("5 SetFormat 2,000 fields / bare query", inProcess("BM_SetFormat", "BM_FieldQuery"), 3.0);
    figures.push_back({"6 start-up to first paint / empty window",
                       {process("startup/designer"), process("startup/empty")},
                       {process("startup/designer/cpu"), process("startup/empty/cpu")}, 1.3});
    figures.push_back({"7 peak memory over empty window / file size",
                       {process("memory/pattern/peak"), process("memory/empty/peak")}, {}, 8.0,
                       file.empty() ? 0 : file.front(), "bytes"});

    std::printf("%-44s %8s %13s %7s %6s %7s   %s\n", "figure", "measured", "spread", "target", "holds",
                "other", "medians (measured / against), pairs");
    for (const Figure &f : figures) {
        auto ratio = [&f](double a, double b) { return f.divisor > 0 ? (a - b) / f.divisor : a / b; };
        const size_t pairs = std::min(f.main.a.size(), f.main.b.size());
        if (pairs == 0 || (f.unit == "bytes" && f.divisor <= 0)) {
            std::printf("%-44s %8s %13s %7s %6s\n", f.name.c_str(), "-", "-", "", "NOT RUN");
            continue;
        }
        double low = 1e300, high = -1e300;
        for (size_t i = 0; i < pairs; ++i) {
            low = std::min(low, ratio(f.main.a[i], f.main.b[i]));
            high = std::max(high, ratio(f.main.a[i], f.main.b[i]));
        }
        const double value = ratio(median(f.main.a), median(f.main.b));
        char measured[16], spread[32], target[16] = "", other[16] = "";
        std::snprintf(measured, sizeof measured, "%.2f", value);
        std::snprintf(spread, sizeof spread, "%.2f-%.2f", low, high);
        if (f.limit > 0)
            std::snprintf(target, sizeof target, "<= %.1f", f.limit);
        if (!f.other.a.empty() && !f.other.b.empty())
            std::snprintf(other, sizeof other, "%.2f", median(f.other.a) / median(f.other.b));
        const char *holds = f.limit <= 0 ? "" : value <= f.limit ? "yes" : "NO";
        std::string against = amount(median(f.main.a), f.unit) + " / " + amount(median(f.main.b), f.unit);
        if (f.divisor > 0)
            against += ", file " + amount(f.divisor, f.unit);
        std::printf("%-44s %8s %13s %7s %6s %7s   %s, %zu\n", f.name.c_str(), measured, spread, target, holds,
                    other, against.c_str(), pairs);
    }
    std::printf("Figures 1-5: CPU time of the benchmark thread (\"other\": the same on wall time). "
                "Figure 6: wall time of whole processes (\"other\": their CPU time). Figure 7: peak RSS.\n");
    for (const std::string &failure : failures())
        std::printf("FAILED %s\n", failure.c_str());
}

} // namespace

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
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
