#pragma once

#include "portbackend.h"

#include <QSerialPort>

namespace oxa {

// A real serial port through Qt SerialPort.
class QtSerialBackend : public PortBackend {
    Q_OBJECT
public:
    explicit QtSerialBackend(const QString &portName, QObject *parent = nullptr);

    bool open(QString *error) override;
    void close() override;
    bool isOpen() const override;
    void write(const QByteArray &bytes) override;
    QByteArray readAll() override;
    qint64 bytesToWrite() const override;
    bool setDtr(bool raised) override;

private:
    void onError(QSerialPort::SerialPortError error);

    QSerialPort m_port;
};

} // namespace oxa
