#include "replyepochs.h"

namespace oxa {

void ReplyEpochs::bytesWaiting(qint64 waiting) {
    const qint64 end = m_read + waiting;
    if (end < m_marked) {
        // Fewer bytes wait than were announced: the port dropped some; start over from what waits now.
        m_marks.clear();
        m_marked = m_read;
    }
    if (end > m_marked) {
        m_marks.push_back({end, m_sent});
        m_marked = end;
    }
}

quint64 ReplyEpochs::byteRead() {
    ++m_read;
    while (!m_marks.empty() && m_marks.front().end < m_read)
        m_marks.pop_front();
    // A byte read without an announcement counts as arriving now.
    return m_marks.empty() ? m_sent : m_marks.front().epoch;
}

void ReplyEpochs::reset() {
    m_marks.clear();
    m_marked = m_read;
}

} // namespace oxa
