#include "fakeport.h"

namespace oxa::test {

void FakePort::send(const QByteArray &bytes) {
    if (!m_open) {
        if (refuseOpen)
            throw PortError(QStringLiteral("No serial port was chosen; nothing was sent."));
        m_open = true;
    }
    if (bytes.size() > m_freeSpace)
        throw PortError(QStringLiteral("The output queue is full."));
    sent << bytes;
}

char FakePort::readChar() {
    if (m_input.isEmpty())
        return 0;
    const char c = m_input.front();
    m_input.remove(0, 1);
    return c;
}

void FakePort::deliver(const QByteArray &bytes) {
    m_input += bytes;
    emit dataAvailable(bytesAvailable());
}

} // namespace oxa::test
