#include "wire.h"

#include "clock.h"

#include <algorithm>

namespace oxa::sim {

namespace {
constexpr qint64 BitsPerByte = 10;
// Re-base a long transmission now and then so that the products below stay far from overflow.
constexpr qint64 RebaseAfterBytes = 1'000'000;
} // namespace

void Wire::push(const QByteArray &bytes, qint64 notBeforeNs) {
    if (bytes.isEmpty())
        return;
    if (!m_segments.empty())
        notBeforeNs = std::max(notBeforeNs, m_segments.back().notBefore);
    m_segments.push_back({bytes, notBeforeNs});
    m_pending += bytes.size();
    m_pushedTotal += bytes.size();
}

qint64 Wire::byteEnd(qint64 k) const {
    const qint64 bits = k * BitsPerByte * NsPerSecond;
    return m_runStart + (bits + m_bitsPerSecond - 1) / m_bitsPerSecond;
}

void Wire::startRunIfIdle() {
    // A segment at the head that was queued after the line fell silent starts a new transmission.
    const Segment &front = m_segments.front();
    if (m_frontOffset == 0 && (!m_runActive || front.notBefore > m_lastByteEnd)) {
        m_runStart = m_runActive ? std::max(front.notBefore, m_lastByteEnd) : front.notBefore;
        m_runCount = 0;
        m_runActive = true;
    }
}

QByteArray Wire::take(qint64 nowNs) {
    QByteArray out;
    while (!m_segments.empty()) {
        Segment &front = m_segments.front();
        const qsizetype remaining = front.bytes.size() - m_frontOffset;
        qsizetype count = 0;
        if (!throttled()) {
            if (front.notBefore > nowNs)
                break;
            count = remaining;
        } else {
            startRunIfIdle();
            if (nowNs < m_runStart)
                break;
            const qint64 crossed = (nowNs - m_runStart) * m_bitsPerSecond / (BitsPerByte * NsPerSecond);
            count = qsizetype(std::min<qint64>(remaining, std::max<qint64>(0, crossed - m_runCount)));
            if (count == 0)
                break;
            m_runCount += count;
            m_lastByteEnd = byteEnd(m_runCount);
            if (m_runCount >= RebaseAfterBytes) {
                m_runStart = m_lastByteEnd;
                m_runCount = 0;
            }
        }
        out.append(front.bytes.constData() + m_frontOffset, count);
        m_frontOffset += count;
        if (m_frontOffset == front.bytes.size()) {
            m_segments.pop_front();
            m_frontOffset = 0;
        }
        if (count < remaining)
            break;
    }
    m_pending -= out.size();
    m_takenTotal += out.size();
    return out;
}

std::optional<qint64> Wire::nextArrivalNs() const {
    if (m_segments.empty())
        return std::nullopt;
    const Segment &front = m_segments.front();
    if (!throttled())
        return front.notBefore;
    if (m_frontOffset == 0 && (!m_runActive || front.notBefore > m_lastByteEnd)) {
        const qint64 start = m_runActive ? std::max(front.notBefore, m_lastByteEnd) : front.notBefore;
        return start + (BitsPerByte * NsPerSecond + m_bitsPerSecond - 1) / m_bitsPerSecond;
    }
    return byteEnd(m_runCount + 1);
}

void Wire::clear() {
    m_takenTotal += m_pending;
    m_segments.clear();
    m_frontOffset = 0;
    m_pending = 0;
}

} // namespace oxa::sim
