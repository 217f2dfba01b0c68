#include "logclock.h"

#include <QDateTime>
#include <QLocale>
#include <QTime>

#include <utility>

namespace oxa {

namespace {

QString longTime(qint64 msecsSinceEpoch) {
    return QLocale::system().toString(QDateTime::fromMSecsSinceEpoch(msecsSinceEpoch).time(),
                                      QLocale::LongFormat);
}

} // namespace

LogClock::MsecsSinceEpoch LogClock::defaultNow() {
    return [] { return QDateTime::currentMSecsSinceEpoch(); };
}

LogClock::LogClock(MsecsSinceEpoch now)
    : m_now(std::move(now)),
      m_showsFractions(QLocale::system().timeFormat(QLocale::LongFormat).contains(QLatin1Char('z'))) {}

QString LogClock::now() {
    const qint64 msecs = m_now();
    if (m_showsFractions)
        return longTime(msecs);
    // Floor division: a clock before 1970 still changes second where the time of day does.
    const qint64 second = msecs >= 0 ? msecs / 1000 : (msecs - 999) / 1000;
    if (!m_valid || second != m_second) {
        m_text = longTime(msecs);
        m_second = second;
        m_valid = true;
    }
    return m_text;
}

} // namespace oxa
