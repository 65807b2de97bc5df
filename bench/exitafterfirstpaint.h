#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

// Ends the program once the watched window has painted for the first time,
// so a whole-process start-up can be timed from outside. The exit is queued
// behind the paint, so the whole first frame is drawn. The benchmark's own
// programs install it on their window; the designer gets it from the
// quit-after-paint plugin (quitafterpaint.cpp), so the designer's code
// knows nothing of the benchmarks.
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
