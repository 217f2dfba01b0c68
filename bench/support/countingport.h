#pragma once

#include "portlayer.h"

#include <QElapsedTimer>

namespace oxa::bench {

// Passes everything through to the real line and counts the bytes that crossed it both ways, so that
// a floor is computed from what was actually exchanged.
class CountingPort : public PortLayer {
    Q_OBJECT
public:
    explicit CountingPort(PortLayer &line, QObject *parent = nullptr);

    void send(const QByteArray &bytes) override;
    int bytesAvailable() const override { return m_line.bytesAvailable(); }
    char readChar() override;
    int freeOutputSpace() const override { return m_line.freeOutputSpace(); }
    void setDtr(bool raised) override { m_line.setDtr(raised); }
    bool dtr() const override { return m_line.dtr(); }
    int portNumber() const override { return m_line.portNumber(); }
    void close() override { m_line.close(); }

    void resetCounts();
    qint64 sentBytes = 0;
    qint64 receivedBytes = 0;
    // Where the time goes, in ns, over every command that followed a reply: from the command before
    // to the end of the reply line (the line and the unit), and from there to this command (the
    // program, its pauses included).
    qint64 awaitingReplyNs = 0;
    qint64 turnaroundNs = 0;

private:
    PortLayer &m_line;
    QElapsedTimer m_clock;
    qint64 m_sentAt = -1;
    qint64 m_replyAt = -1;
};

} // namespace oxa::bench
