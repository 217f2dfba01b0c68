#pragma once

#include <QString>

#include <functional>

namespace oxa {

// The time of day that heads each logged line, in the system locale's long time format. Formatting
// through the locale costs more than the rest of a received line's handling, and the long format
// stops at seconds, so the text is made once a second and shared by the lines logged within it.
class LogClock {
public:
    using MsecsSinceEpoch = std::function<qint64()>;

    explicit LogClock(MsecsSinceEpoch now = defaultNow());

    QString now();

private:
    static MsecsSinceEpoch defaultNow();

    MsecsSinceEpoch m_now;
    bool m_showsFractions; // a locale whose long format shows milliseconds is formatted every time
    qint64 m_second = 0;
    bool m_valid = false;
    QString m_text;
};

} // namespace oxa
