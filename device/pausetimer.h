#pragma once

#include <QObject>

#include <functional>

namespace oxa {

// The protocol's fixed pauses (100, 200, 500, 1000 ms and the upload pause). A pause is a state of the
// session that asked for it: `then` runs once it is over. Production counts real time; tests record
// the pauses and go on at once.
class PauseTimer {
public:
    virtual ~PauseTimer() = default;
    virtual void after(int milliseconds, std::function<void()> then) = 0;
};

// Real time, on the event loop of `context` (nothing runs once `context` is gone).
class EventLoopPauseTimer : public PauseTimer {
public:
    explicit EventLoopPauseTimer(QObject *context) : m_context(context) {}
    void after(int milliseconds, std::function<void()> then) override;

private:
    QObject *m_context;
};

} // namespace oxa
