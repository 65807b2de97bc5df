#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QObject>

#include <cstdio>

// Ends the program once the watched window has painted for the first time:
// the exit is queued behind the paint, so the whole first frame is drawn.
// The benchmark's helper programs use it as the designer's own start-up does
// under ZN7_BENCH_QUIT_AFTER_PAINT.
class ExitAfterFirstPaint final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(QCoreApplication::instance(), [] { QCoreApplication::exit(0); },
                                      Qt::QueuedConnection);
        }
        return false;
    }
};

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
