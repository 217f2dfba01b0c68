#pragma once

#include <QFile>
#include <QString>

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

// A folder an ordinary user may write to, for the user's own files while file access is theirs.
inline bool openToEveryone(const QString &folder) {
    return QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                             QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                                             QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther);
}

// A folder an ordinary user may read but not write to, as an administrator's folder is.
inline bool readOnlyForUsers(const QString &folder) {
    return QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                             QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                             QFileDevice::ExeOther);
}

} // namespace oxa::test
