#include "qtserialbackend.h"

namespace oxa {

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
            *error = m_port.errorString();
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

bool QtSerialBackend::isOpen() const { return m_port.isOpen(); }

void QtSerialBackend::write(const QByteArray &bytes) { m_port.write(bytes); }

QByteArray QtSerialBackend::readAll() { return m_port.readAll(); }

qint64 QtSerialBackend::bytesToWrite() const { return m_port.bytesToWrite(); }

bool QtSerialBackend::setDtr(bool raised) {
    const bool ok = m_port.setDataTerminalReady(raised);
    m_port.clearError();
    return ok;
}

void QtSerialBackend::onError(QSerialPort::SerialPortError error) {
    if (error == QSerialPort::ResourceError || error == QSerialPort::DeviceNotFoundError) {
        const QString message = m_port.errorString();
        m_port.clearError();
        emit failed(message);
    }
}

} // namespace oxa
