#pragma once

#include <QElapsedTimer>
#include <QtGlobal>

namespace oxa::sim {

constexpr qint64 NsPerMs = 1'000'000;
constexpr qint64 NsPerSecond = 1'000'000'000;

// Where the simulated unit takes its time from: the steady wall clock when it plays a real unit, a clock
// that only moves when told in tests, so that boot delays, status lines and latency cost no test time.
class Clock {
public:
    virtual ~Clock() = default;
    // Nanoseconds since an arbitrary start; never goes back.
    virtual qint64 nowNs() const = 0;
    // True when time moves only through advance(): the host then runs due events at once.
    virtual bool isManual() const = 0;
};

class SteadyClock final : public Clock {
public:
    SteadyClock() { m_timer.start(); }
    qint64 nowNs() const override { return m_timer.nsecsElapsed(); }
    bool isManual() const override { return false; }

private:
    QElapsedTimer m_timer;
};

class ManualClock final : public Clock {
public:
    qint64 nowNs() const override { return m_now; }
    bool isManual() const override { return true; }
    void advanceNs(qint64 ns) { m_now += qMax<qint64>(0, ns); }

private:
    qint64 m_now = 0;
};

} // namespace oxa::sim
