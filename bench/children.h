#pragma once

#include <string>
#include <vector>

// Whole programs run by the benchmarks: their wall and CPU time and the
// peak memory they report.
struct Child
{
    bool ok = false;
    double wallSeconds = 0;
    double cpuSeconds = 0;
    double peakBytes = 0;   // as the child reports it; 0 when it does not
};

// Runs a program offscreen. Its rusage
// (wait4) gives its CPU time; its peak resident memory is what it prints
// itself, because a spawned child's rusage peak includes this process's.
// Its standard output goes to `outputFile` (a scratch file when none), its
// standard error nowhere; it is ok when it ends with `expectedStatus`.
Child runChild(const std::string &program, const std::vector<std::string> &args,
               const std::vector<std::string> &extraEnv = {}, int expectedStatus = 0,
               const char *outputFile = nullptr);

// The environment that makes a Qt program end after its first paint, for
// runChild's extraEnv.
std::vector<std::string> quitAfterPaint();

// Keeps a child's wall time as `name`, its CPU time as `name`/cpu and its
// peak as `name`/peak among the run's process values.
void record(const std::string &name, const Child &child);
