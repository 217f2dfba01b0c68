#include "pausetimer.h"

#include <QTimer>

namespace oxa {

void EventLoopPauseTimer::after(int milliseconds, std::function<void()> then) {
    QTimer::singleShot(std::max(milliseconds, 0), Qt::PreciseTimer, m_context, std::move(then));
}

} // namespace oxa
