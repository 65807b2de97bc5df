#pragma once

#include "exitafterfirstpaint.h"

#include <QFile>

#include <cstdio>

// Prints the process's peak resident memory (VmHWM) on standard output as
// "peak-rss-bytes N". The benchmark reads it there: the rusage of a spawned
// child also counts the spawning process's own peak, taken over at exec.
inline void printPeakMemory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            const long long kilobytes = line.mid(6).trimmed().split(' ').value(0).toLongLong();
            std::printf("peak-rss-bytes %lld\n", kilobytes * 1024);
            std::fflush(stdout);
        }
    }
}
