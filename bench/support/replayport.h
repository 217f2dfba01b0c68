#pragma once

#include "portlayer.h"

namespace oxa::bench {

// A port without a line: what the program sends is counted and dropped, and the benchmark hands it
// received bytes in pieces, announced as a real port announces them. Reading costs O(1) a byte, so
// the figures are the program's own.
class ReplayPort : public PortLayer {
    Q_OBJECT
public:
    using PortLayer::PortLayer;

    void send(const QByteArray &bytes) override;
    int bytesAvailable() const override { return int(m_input.size() - m_readPos); }
    char readChar() override;
    int freeOutputSpace() const override { return OutputQueueSize; }
    void setDtr(bool raised) override { m_dtr = raised; }
    bool dtr() const override { return m_dtr; }
    int portNumber() const override { return m_open ? 1 : 0; }
    void close() override { m_open = false; }

    // Queues `bytes` and announces them.
    void deliver(const QByteArray &bytes);

    qint64 sentBytes = 0;

private:
    QByteArray m_input;
    qsizetype m_readPos = 0;
    bool m_open = false;
    bool m_dtr = false;
};

} // namespace oxa::bench
