#pragma once

#ifdef Q_OS_LINUX
#include <sys/fsuid.h>
#include <unistd.h>
#endif

namespace oxa::test {

// For its lifetime, this thread's file access is checked as an ordinary user's ("nobody") when the tests
// run as root, so that folder permissions hold. Elsewhere (not root, not Linux) it does nothing.
class UnprivilegedFileAccess {
public:
    explicit UnprivilegedFileAccess([[maybe_unused]] bool wanted = true) {
#ifdef Q_OS_LINUX
        if (wanted && geteuid() == 0) {
            setfsuid(65534);
            setfsgid(65534);
            m_changed = true;
        }
#endif
    }
    ~UnprivilegedFileAccess() {
#ifdef Q_OS_LINUX
        if (m_changed) {
            setfsuid(0);
            setfsgid(0);
        }
#endif
    }
    UnprivilegedFileAccess(const UnprivilegedFileAccess &) = delete;
    UnprivilegedFileAccess &operator=(const UnprivilegedFileAccess &) = delete;

private:
    bool m_changed = false;
};

} // namespace oxa::test
