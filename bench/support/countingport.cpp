#include "countingport.h"

namespace oxa::bench {

CountingPort::CountingPort(PortLayer &line, QObject *parent) : PortLayer(parent), m_line(line) {
    connect(&m_line, &PortLayer::dataAvailable, this, &PortLayer::dataAvailable);
    connect(&m_line, &PortLayer::notice, this, &PortLayer::notice);
    connect(&m_line, &PortLayer::lost, this, &PortLayer::lost);
}

void CountingPort::resetCounts() {
    sentBytes = receivedBytes = awaitingReplyNs = turnaroundNs = 0;
    m_sentAt = m_replyAt = -1;
    m_clock.start();
}

void CountingPort::send(const QByteArray &bytes) {
    m_line.send(bytes);
    sentBytes += bytes.size();
    const qint64 now = m_clock.nsecsElapsed();
    if (m_sentAt >= 0 && m_replyAt > m_sentAt) {
        awaitingReplyNs += m_replyAt - m_sentAt;
        turnaroundNs += now - m_replyAt;
    }
    m_sentAt = now;
}

char CountingPort::readChar() {
    if (m_line.bytesAvailable() > 0)
        ++receivedBytes;
    const char c = m_line.readChar();
    // A line ends at CR: the reply that the next command answers is the last line before it.
    if (c == '\r')
        m_replyAt = m_clock.nsecsElapsed();
    return c;
}

} // namespace oxa::bench
