#pragma once

#include <QByteArray>
#include <deque>
#include <optional>

namespace oxa::sim {

// One direction of the serial line: bytes put on it at some moment and taken off once they have
// crossed. Unthrottled, a byte has crossed as soon as it was put on; throttled, the bytes of one
// continuous transmission cross one after another at the line rate (10 bits per byte: 8N1).
class Wire {
public:
    // 0 switches throttling off.
    void setBitsPerSecond(qint64 bitsPerSecond) { m_bitsPerSecond = bitsPerSecond; }
    qint64 bitsPerSecond() const { return m_bitsPerSecond; }

    // Queues bytes that may not start before `notBeforeNs` (nor before anything queued earlier).
    void push(const QByteArray &bytes, qint64 notBeforeNs);
    // Every byte that has crossed by `nowNs`, in order.
    QByteArray take(qint64 nowNs);
    // When the next byte will have crossed; nullopt when nothing waits.
    std::optional<qint64> nextArrivalNs() const;

    qint64 pendingBytes() const { return m_pending; }
    // Bytes ever put on and ever taken off; their difference is pendingBytes().
    qint64 pushedTotal() const { return m_pushedTotal; }
    qint64 takenTotal() const { return m_takenTotal; }
    void clear();

private:
    struct Segment {
        QByteArray bytes;
        qint64 notBefore;
    };

    bool throttled() const { return m_bitsPerSecond > 0; }
    // End of the k-th byte of the current transmission.
    qint64 byteEnd(qint64 k) const;
    void startRunIfIdle();

    std::deque<Segment> m_segments;
    qsizetype m_frontOffset = 0;
    qint64 m_bitsPerSecond = 0;
    qint64 m_pending = 0;
    qint64 m_pushedTotal = 0;
    qint64 m_takenTotal = 0;
    // Current continuous transmission: its start and how many of its bytes have crossed.
    qint64 m_runStart = 0;
    qint64 m_runCount = 0;
    bool m_runActive = false;
    qint64 m_lastByteEnd = 0;
};

} // namespace oxa::sim
