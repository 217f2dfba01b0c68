#include "qtserialbackend.h"

#include "portfailure.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace oxa {

namespace {

PortOpenError openErrorOf(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return PortOpenError::NotFound;
    case QSerialPort::UnsupportedOperationError:
        return PortOpenError::NotSerial;
    case QSerialPort::PermissionError:
        return PortOpenError::Permission;
    default:
        return PortOpenError::Other;
    }
}

// What lies at the device path Qt SerialPort opens for `name`.
PortFacts factsOf(const QString &name) {
    PortFacts facts;
#ifdef Q_OS_UNIX
    // Qt SerialPort's own rule: a name that is not a path is a device in /dev.
    const bool isPath = name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1String("./")) ||
                        name.startsWith(QLatin1String("../"));
    facts.location = isPath ? name : QStringLiteral("/dev/") + name;
    const QByteArray path = QFile::encodeName(facts.location);
    struct stat info = {};
    if (::stat(path.constData(), &info) != 0) {
        facts.exists = false;
        return facts;
    }
    facts.serialDevice = S_ISCHR(info.st_mode);
    facts.permitted = ::access(path.constData(), R_OK | W_OK) == 0;
    // The group that the command to grant access names; root's group is no one's to join.
    const bool groupMayUse = (info.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
    if (const group *owner = groupMayUse && info.st_gid != 0 ? ::getgrgid(info.st_gid) : nullptr)
        facts.group = QString::fromLocal8Bit(owner->gr_name);
#else
    facts.location = name;
#endif
    return facts;
}

} // namespace

QtSerialBackend::QtSerialBackend(const QString &portName, QObject *parent) : PortBackend(parent) {
    m_port.setPortName(portName);
    // Queued: the receive handler may pause in a local event loop, and QSerialPort does not announce
    // bytes again while its own readyRead is still being emitted. Handled inside that emission, every
    // reply arriving during the pause would wait unannounced until the unit sent something more.
    connect(&m_port, &QSerialPort::readyRead, this, &PortBackend::readyRead, Qt::QueuedConnection);
    connect(&m_port, &QSerialPort::bytesWritten, this, &PortBackend::bytesWritten);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialBackend::onError);
}

bool QtSerialBackend::open(QString *error) {
    m_port.setBaudRate(QSerialPort::Baud115200);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::HardwareControl);
    if (!m_port.open(QIODevice::ReadWrite)) {
        if (error)
            *error = describePortOpenFailure(m_port.portName(), factsOf(m_port.portName()),
                                             openErrorOf(m_port.error()), m_port.errorString());
        m_port.clearError();
        return false;
    }
    // Some drivers refuse DTR (pseudo-terminals); the caller learns that from setDtr.
    m_port.setDataTerminalReady(false);
    return true;
}

void QtSerialBackend::close() {
    if (m_port.isOpen())
        m_port.close();
}

bool QtSerialBackend::isOpen() const {
    return m_port.isOpen();
}

void QtSerialBackend::write(const QByteArray &bytes) {
    m_port.write(bytes);
}

QByteArray QtSerialBackend::readAll() {
    return m_port.readAll();
}

qint64 QtSerialBackend::bytesToWrite() const {
    return m_port.bytesToWrite();
}

bool QtSerialBackend::setDtr(bool raised) {
    const bool ok = m_port.setDataTerminalReady(raised);
    m_port.clearError();
    return ok;
}

void QtSerialBackend::onError(QSerialPort::SerialPortError error) {
    // An error of the opening itself is open()'s to say.
    if (!m_port.isOpen())
        return;
    if (error == QSerialPort::ResourceError || error == QSerialPort::DeviceNotFoundError) {
        const QString message = describePortLoss(m_port.errorString());
        m_port.clearError();
        emit failed(message);
    }
}

} // namespace oxa
