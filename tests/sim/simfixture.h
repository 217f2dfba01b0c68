#pragma once

#include "clock.h"
#include "unit.h"

#include <QByteArray>
#include <QList>

namespace oxa::sim::test {

// The lines a program would see: split at CR, LF dropped, empty lines left out.
inline QList<QByteArray> linesOf(const QByteArray &bytes) {
    QList<QByteArray> lines;
    QByteArray line;
    for (const char c : bytes) {
        if (c == '\r') {
            if (!line.isEmpty())
                lines.append(line);
            line.clear();
        } else if (c != '\n') {
            line.append(c);
        }
    }
    if (!line.isEmpty())
        lines.append(line);
    return lines;
}

// A unit whose script is stopped, with every one-off delay zero; no content: the default SIM.
inline UnitOptions stoppedUnitOptions(int simSize = 250,
                                      std::optional<QList<IndexedEntry>> content = std::nullopt) {
    UnitOptions options;
    options.startRunning = false;
    options.simSize = simSize;
    options.simContent = content;
    options.timing = Timing::instant();
    return options;
}

// A unit on its own clock; time moves only through advance().
struct UnitBench {
    explicit UnitBench(UnitOptions options = stoppedUnitOptions()) : unit(options) {}

    static UnitOptions stoppedOptions(int simSize = 250,
                                      std::optional<QList<IndexedEntry>> content = std::nullopt) {
        return stoppedUnitOptions(simSize, content);
    }

    // Sends bytes and returns everything the unit answers at once.
    QByteArray exchange(const QByteArray &bytes) {
        unit.receive(bytes);
        unit.advanceTo(unit.now());
        return unit.takeOutput();
    }
    QByteArray advance(qint64 milliseconds) {
        unit.advanceTo(unit.now() + milliseconds * NsPerMs);
        return unit.takeOutput();
    }
    QByteArray setDtr(bool raised) {
        unit.setDtr(raised);
        unit.advanceTo(unit.now());
        return unit.takeOutput();
    }

    Unit unit;
};

} // namespace oxa::sim::test
