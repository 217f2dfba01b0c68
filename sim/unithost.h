#pragma once

#include "clock.h"
#include "unit.h"
#include "wire.h"

#include <QObject>
#include <QTimer>
#include <memory>

namespace oxa::sim {

// Runs a Unit in the event loop: hands it the program's bytes (at the line rate when the unit's timing
// has one), moves its clock, and passes on what it sends. Nothing happens inside send() or setDtr()
// themselves; the unit reacts on a later turn of the event loop, as a real line would.
//
// On a manual clock, what is due now runs on the next turn and later events wait until advance() moves
// the clock; on the steady clock a timer wakes the host when the next event is due.
class UnitHost : public QObject {
    Q_OBJECT
public:
    explicit UnitHost(const UnitOptions &options,
                      std::unique_ptr<Clock> clock = std::make_unique<SteadyClock>(),
                      QObject *parent = nullptr);
    ~UnitHost() override;

    // A host on a manual clock with Timing::instant() and no line rate, for tests.
    static std::unique_ptr<UnitHost> forTests(UnitOptions options = {}, QObject *parent = nullptr);

    void send(const QByteArray &bytes);
    void setDtr(bool raised);
    void injectFault(const Fault &fault);
    // Bytes handed to send() that have not reached the unit yet.
    qint64 bytesToWrite() const { return m_toUnit.pendingBytes(); }

    // Manual clock only: moves time on and runs everything due on the way, at once.
    void advance(qint64 milliseconds);
    // Runs what is due now, at once (tests that do not want to spin the event loop).
    void runDue() { pump(); }

    Unit &unit() { return m_unit; }
    const Unit &unit() const { return m_unit; }
    Clock &clock() { return *m_clock; }

signals:
    // Bytes from the unit that have crossed the line.
    void output(const QByteArray &bytes);
    // `count` bytes of the program reached the unit.
    void consumed(qint64 count);
    // The unit hung up the line.
    void hungUp();

private:
    void pump();
    void reschedule();

    std::unique_ptr<Clock> m_clock;
    Unit m_unit;
    Wire m_toUnit;
    QTimer m_timer;
};

} // namespace oxa::sim
