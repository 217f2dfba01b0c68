#pragma once

#include "portbackend.h"
#include "unithost.h"

#include <memory>

namespace oxa::sim {

// The simulated unit behind the program's port seam. The unit lives as long as its host; the port only
// connects to it while open, as a cable would: what the unit sends while the port is closed is lost.
class SimulatedPort : public PortBackend {
    Q_OBJECT
public:
    explicit SimulatedPort(std::shared_ptr<UnitHost> host, QObject *parent = nullptr);
    ~SimulatedPort() override;

    bool open(QString *error) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    void write(const QByteArray &bytes) override;
    QByteArray readAll() override;
    qint64 bytesToWrite() const override;
    bool setDtr(bool raised) override;

    UnitHost &host() { return *m_host; }
    Unit &unit() { return m_host->unit(); }
    std::shared_ptr<UnitHost> sharedHost() const { return m_host; }

private:
    void onOutput(const QByteArray &bytes);
    void onConsumed(qint64 count);
    void onHungUp();

    std::shared_ptr<UnitHost> m_host;
    QByteArray m_received;
    bool m_open = false;
};

// The name under which the port choice lists the simulated unit.
inline constexpr const char *SimulatedPortName = "Simulated unit";

// A simulated unit as a new user meets it: real time, line rate 115200, SIM and file-system latency,
// the realistic default SIM, the device script running.
std::unique_ptr<PortBackend> createSimulatedPort(QObject *parent = nullptr);

} // namespace oxa::sim
