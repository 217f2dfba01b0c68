#include "ptyserver.h"

#if defined(Q_OS_UNIX)

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace oxa::sim {

namespace {
// What a line without a listener holds before it starts losing the oldest bytes.
constexpr qsizetype MaxPending = 1 << 20;
} // namespace

PtyServer::PtyServer(UnitHost &host, QObject *parent) : QObject(parent), m_host(host) {
    connect(&m_host, &UnitHost::output, this, &PtyServer::onOutput);
    connect(&m_host, &UnitHost::hungUp, this, &PtyServer::hangUp);
}

PtyServer::~PtyServer() {
    hangUp();
}

bool PtyServer::open(QString *error) {
    auto fail = [&](const char *what) {
        if (error)
            *error =
                QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(strerror(errno)));
        hangUp();
        return false;
    };
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0)
        return fail("posix_openpt");
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
        return fail("grantpt/unlockpt");
    const char *name = ::ptsname(m_master);
    if (!name)
        return fail("ptsname");
    m_slavePath = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    if (m_slave < 0)
        return fail("open slave");
    // Raw bytes both ways: no echo, no line editing, no CR/LF translation by the line discipline.
    termios settings{};
    if (::tcgetattr(m_slave, &settings) != 0)
        return fail("tcgetattr");
    ::cfmakeraw(&settings);
    ::cfsetispeed(&settings, B115200);
    ::cfsetospeed(&settings, B115200);
    if (::tcsetattr(m_slave, TCSANOW, &settings) != 0)
        return fail("tcsetattr");
    const int flags = ::fcntl(m_master, F_GETFL);
    ::fcntl(m_master, F_SETFL, flags | O_NONBLOCK);

    m_readNotifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
    connect(m_readNotifier.get(), &QSocketNotifier::activated, this, &PtyServer::onReadable);
    m_writeNotifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Write);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier.get(), &QSocketNotifier::activated, this, &PtyServer::onWritable);
    return true;
}

void PtyServer::hangUp() {
    m_readNotifier.reset();
    m_writeNotifier.reset();
    m_pending.clear();
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_slave = m_master = -1;
}

void PtyServer::onReadable() {
    char buffer[4096];
    for (;;) {
        const ssize_t count = ::read(m_master, buffer, sizeof buffer);
        if (count > 0) {
            m_host.send(QByteArray(buffer, qsizetype(count)));
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        break;
    }
}

void PtyServer::onOutput(const QByteArray &bytes) {
    if (m_master < 0)
        return;
    m_pending.append(bytes);
    if (m_pending.size() > MaxPending)
        m_pending.remove(0, m_pending.size() - MaxPending);
    flush();
}

void PtyServer::onWritable() {
    flush();
}

void PtyServer::flush() {
    while (!m_pending.isEmpty()) {
        const ssize_t count = ::write(m_master, m_pending.constData(), size_t(m_pending.size()));
        if (count > 0) {
            m_pending.remove(0, qsizetype(count));
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        break;
    }
    if (m_writeNotifier)
        m_writeNotifier->setEnabled(!m_pending.isEmpty());
}

} // namespace oxa::sim

#endif
