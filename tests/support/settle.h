#pragma once

#include "monitor.h"
#include "serialline.h"
#include "tform1.h"
#include "unithost.h"

#include <QCoreApplication>

namespace oxa::test {

// The window and the in-process unit share one thread: each turn runs the event loop once and lets the
// unit do what is due on its manual clock.

// Turns until `done` holds or the turns run out; returns whether it held.
template <class Predicate> bool settleUntil(sim::UnitHost &host, Predicate done, int turns) {
    for (int i = 0; i < turns; ++i) {
        if (done())
            return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        host.runDue();
    }
    return done();
}

// Turns until every exchange in flight has finished: the monitor has had no new line for 50 turns and
// nothing waits to be read on the line (or the turns run out).
inline void settleQuiet(sim::UnitHost &host, const TForm1 &form, const SerialLine &line, int turns) {
    int quiet = 0;
    qint64 lastLog = -1;
    for (int i = 0; i < turns && quiet < 50; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        host.runDue();
        const qint64 now = form.monitor() ? form.monitor()->lineCount() : 0;
        quiet = (now == lastLog && line.bytesAvailable() == 0) ? quiet + 1 : 0;
        lastLog = now;
    }
}

} // namespace oxa::test
