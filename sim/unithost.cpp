#include "unithost.h"

#include <algorithm>

namespace oxa::sim {

UnitHost::UnitHost(const UnitOptions &options, std::unique_ptr<Clock> clock, QObject *parent)
    : QObject(parent), m_clock(std::move(clock)), m_unit(options) {
    m_toUnit.setBitsPerSecond(options.timing.lineBitsPerSecond);
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &UnitHost::pump);
    m_unit.advanceTo(m_clock->nowNs());
    reschedule();
}

UnitHost::~UnitHost() = default;

std::unique_ptr<UnitHost> UnitHost::forTests(UnitOptions options, QObject *parent) {
    options.timing = Timing::instant();
    return std::make_unique<UnitHost>(options, std::make_unique<ManualClock>(), parent);
}

void UnitHost::send(const QByteArray &bytes) {
    m_toUnit.push(bytes, m_clock->nowNs());
    m_timer.start(0);
}

void UnitHost::setDtr(bool raised) {
    m_unit.advanceTo(m_clock->nowNs());
    m_unit.setDtr(raised);
    m_timer.start(0);
}

void UnitHost::injectFault(const Fault &fault) {
    m_unit.advanceTo(m_clock->nowNs());
    m_unit.injectFault(fault);
    m_timer.start(0);
}

void UnitHost::advance(qint64 milliseconds) {
    if (auto *manual = dynamic_cast<ManualClock *>(m_clock.get()))
        manual->advanceNs(milliseconds * NsPerMs);
    pump();
}

void UnitHost::pump() {
    const qint64 now = m_clock->nowNs();
    // Each byte reaches the unit at its own moment, so that the unit answers at the right time even
    // when the clock jumped.
    qint64 arrived = 0;
    for (auto at = m_toUnit.nextArrivalNs(); at && *at <= now; at = m_toUnit.nextArrivalNs()) {
        m_unit.advanceTo(*at);
        const QByteArray bytes = m_toUnit.take(*at);
        arrived += bytes.size();
        m_unit.receive(bytes);
    }
    m_unit.advanceTo(now);
    const QByteArray out = m_unit.takeOutput();
    const bool hangUp = m_unit.takeHangUp();
    reschedule();
    // Signals last: a receiver may call back into the host.
    if (arrived > 0)
        emit consumed(arrived);
    if (!out.isEmpty())
        emit output(out);
    if (hangUp)
        emit hungUp();
}

void UnitHost::reschedule() {
    std::optional<qint64> next = m_unit.nextEventNs();
    if (const auto arrival = m_toUnit.nextArrivalNs())
        next = next ? std::min(*next, *arrival) : *arrival;
    if (!next) {
        m_timer.stop();
        return;
    }
    const qint64 now = m_clock->nowNs();
    if (m_clock->isManual()) {
        if (*next <= now)
            m_timer.start(0);
        else
            m_timer.stop();
        return;
    }
    // Whole milliseconds, rounded up, so the timer never fires before the event is due.
    const qint64 waitMs = std::max<qint64>(0, (*next - now + NsPerMs - 1) / NsPerMs);
    m_timer.start(int(std::min<qint64>(waitMs, 24 * 3600 * 1000)));
}

} // namespace oxa::sim
