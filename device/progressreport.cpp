#include "progressreport.h"

#include <QObject>

#include <algorithm>

namespace oxa {

void ProgressEstimate::start(int total, qint64 nowMs, int expectedStepMs) {
    m_total = std::max(total, 0);
    m_done = 0;
    m_startMs = nowMs;
    m_expectedStepMs = std::max(expectedStepMs, 0);
}

void ProgressEstimate::stepDone(int done, qint64) {
    m_done = std::clamp(done, 0, m_total);
}

std::optional<int> ProgressEstimate::secondsLeft(qint64 nowMs) const {
    const int left = m_total - m_done;
    if (left <= 0)
        return 0;
    // A few steps tell the pace; before that only the known cost of a step does.
    constexpr int TimedSteps = 3;
    double stepMs = m_expectedStepMs;
    if (m_done >= TimedSteps)
        stepMs = std::max(stepMs, double(nowMs - m_startMs) / m_done);
    if (stepMs <= 0)
        return std::nullopt;
    return int((left * stepMs + 999) / 1000);
}

QString progressText(QStringView doing, int done, int total, std::optional<int> secondsLeft) {
    QString text = QObject::tr("%1 %2 / %3").arg(doing).arg(done).arg(total);
    if (!secondsLeft || *secondsLeft <= 0)
        return text;
    const QString left = *secondsLeft > 90 ? QObject::tr("about %1 min left").arg((*secondsLeft + 59) / 60)
                                           : QObject::tr("about %1 s left").arg(*secondsLeft);
    return text + QStringLiteral(" \u00b7 ") + left;
}

QString readOutcome(int entries) {
    return entries == 1 ? QObject::tr("Read 1 entry") : QObject::tr("Read %1 entries").arg(entries);
}

QString writeOutcome(int entries) {
    return entries == 1 ? QObject::tr("Written and read back: 1 entry")
                        : QObject::tr("Written and read back: %1 entries").arg(entries);
}

QString uploadOutcome(int steps) {
    return steps == 1 ? QObject::tr("Upload finished: 1 step")
                      : QObject::tr("Upload finished: %1 steps").arg(steps);
}

std::optional<int> signalDbm(int level) {
    if (level < 0 || level > 31)
        return std::nullopt;
    return -113 + 2 * level;
}

QString signalDescription(int level) {
    if (const std::optional<int> dbm = signalDbm(level))
        return QObject::tr("+CSQ %1 (%2 dBm)").arg(level).arg(*dbm);
    return QObject::tr("+CSQ %1 (no measurement)").arg(level);
}

} // namespace oxa
