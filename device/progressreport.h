#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace oxa {

// How far a long operation has come, and about how long is left, from the time its steps took so far.
// Times are milliseconds of any steady clock the caller keeps.
class ProgressEstimate {
public:
    // `expectedStepMs`: what a step is known to cost at least (the protocol's pause), used until a few
    // steps have been timed.
    void start(int total, qint64 nowMs, int expectedStepMs = 0);
    void stepDone(int done, qint64 nowMs);
    int done() const { return m_done; }
    int total() const { return m_total; }
    // Seconds left, rounded up; nullopt while nothing can be said.
    std::optional<int> secondsLeft(qint64 nowMs) const;

private:
    int m_total = 0;
    int m_done = 0;
    qint64 m_startMs = 0;
    int m_expectedStepMs = 0;
};

// "Writing 27 / 277 · about 40 s left", "Reading 12 / 250", "about 3 min left" beyond 90 s.
QString progressText(QStringView doing, int done, int total, std::optional<int> secondsLeft);

// One line that says what was done.
QString readOutcome(int entries);  // "Read 250 entries"
QString writeOutcome(int entries); // "Written and read back: 31 entries"
QString uploadOutcome(int steps);  // "Upload finished: 6 steps"

// The signal level as the module reports it (+CSQ 0..31, 99 unknown) in dBm, as 27.007 defines it:
// 0 is -113 dBm or less, 31 is -51 dBm or more; nullopt for 99 and anything outside.
std::optional<int> signalDbm(int level);
// "+CSQ 22 (-69 dBm)", "+CSQ 99 (no measurement)".
QString signalDescription(int level);

} // namespace oxa
