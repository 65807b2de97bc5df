#pragma once

#include <QString>

#include <map>
#include <string>
#include <vector>

// What one run measured, for the table printed at its end.
namespace Results {

// Seconds per iteration of each repetition, by benchmark ("BM_Open/10000").
struct Times
{
    std::vector<double> real;
    std::vector<double> cpu;
};
std::map<std::string, Times> &benchmarks();

// Values taken from whole child processes, in the order they ran, by name
// ("startup/designer" seconds, "memory/pattern" bytes).
std::map<std::string, std::vector<double>> &processes();

// The repetitions the run was asked for (--benchmark_repetitions, else 1).
int repetitions();

// Adds the iteration runs of a child run's JSON report to benchmarks(),
// each name prefixed; false when the report cannot be read.
bool readChildRun(const QString &jsonFile, const std::string &prefix);

} // namespace Results
