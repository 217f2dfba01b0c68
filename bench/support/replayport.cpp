#include "replayport.h"

namespace oxa::bench {

void ReplayPort::send(const QByteArray &bytes) {
    m_open = true;
    sentBytes += bytes.size();
}

char ReplayPort::readChar() {
    if (m_readPos >= m_input.size())
        return 0;
    const char c = m_input.at(m_readPos++);
    if (m_readPos == m_input.size()) {
        m_input.clear();
        m_readPos = 0;
    }
    return c;
}

void ReplayPort::deliver(const QByteArray &bytes) {
    m_input += bytes;
    emit dataAvailable(bytesAvailable());
}

} // namespace oxa::bench
