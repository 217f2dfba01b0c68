#pragma once

#include "portlayer.h"

#include <QList>

namespace oxa::test {

// A port that records what the program sends and lets a test deliver bytes.
class FakePort : public PortLayer {
    Q_OBJECT
public:
    using PortLayer::PortLayer;

    void send(const QByteArray &bytes) override;
    int bytesAvailable() const override { return int(m_input.size()); }
    char readChar() override;
    int freeOutputSpace() const override { return m_freeSpace; }
    void setDtr(bool raised) override { m_dtr = raised; }
    bool dtr() const override { return m_dtr; }
    int portNumber() const override { return m_open ? 1 : 0; }
    QString portName() const override { return m_open ? QStringLiteral("/dev/ttyUSB0") : QString(); }
    void close() override {
        m_open = false;
        ++closeCount;
    }
    // The port chosen again (as a send would open it).
    void open() { m_open = true; }

    // Bytes from the unit: queued, then announced as a real port does.
    void deliver(const QByteArray &bytes);
    // Queued without an announcement (bytes that arrive while the program is busy).
    void queue(const QByteArray &bytes) { m_input += bytes; }
    void announce() { emit dataAvailable(bytesAvailable()); }

    QByteArray sentBytes() const { return sent.join(); }

    QList<QByteArray> sent;
    bool refuseOpen = false; // the user cancels the port choice
    int closeCount = 0;
    int m_freeSpace = OutputQueueSize;

private:
    QByteArray m_input;
    bool m_open = false;
    bool m_dtr = false;
};

} // namespace oxa::test
