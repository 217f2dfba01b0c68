#include "simulatedport.h"

namespace oxa::sim {

SimulatedPort::SimulatedPort(std::shared_ptr<UnitHost> host, QObject *parent)
    : PortBackend(parent), m_host(std::move(host)) {
    connect(m_host.get(), &UnitHost::output, this, &SimulatedPort::onOutput);
    connect(m_host.get(), &UnitHost::consumed, this, &SimulatedPort::onConsumed);
    connect(m_host.get(), &UnitHost::hungUp, this, &SimulatedPort::onHungUp);
}

SimulatedPort::~SimulatedPort() {
    close();
}

bool SimulatedPort::open(QString *) {
    if (m_open)
        return true;
    m_open = true;
    m_received.clear();
    m_host->setDtr(false);
    return true;
}

void SimulatedPort::close() {
    if (!m_open)
        return;
    m_open = false;
    m_received.clear();
    // Closing a port drops DTR.
    m_host->setDtr(false);
}

void SimulatedPort::write(const QByteArray &bytes) {
    if (m_open && !bytes.isEmpty())
        m_host->send(bytes);
}

QByteArray SimulatedPort::readAll() {
    return std::exchange(m_received, {});
}

qint64 SimulatedPort::bytesToWrite() const {
    return m_open ? m_host->bytesToWrite() : 0;
}

bool SimulatedPort::setDtr(bool raised) {
    if (m_open)
        m_host->setDtr(raised);
    return true;
}

void SimulatedPort::onOutput(const QByteArray &bytes) {
    if (!m_open)
        return;
    m_received.append(bytes);
    emit readyRead();
}

void SimulatedPort::onConsumed(qint64 count) {
    if (m_open)
        emit bytesWritten(count);
}

void SimulatedPort::onHungUp() {
    if (!m_open)
        return;
    m_open = false;
    m_received.clear();
    emit failed(tr("the simulated unit hung up"));
}

std::unique_ptr<PortBackend> createSimulatedPort(QObject *parent) {
    UnitOptions options;
    options.timing = Timing::realistic();
    auto host = std::make_shared<UnitHost>(options);
    return std::make_unique<SimulatedPort>(std::move(host), parent);
}

} // namespace oxa::sim
