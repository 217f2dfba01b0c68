#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

namespace oxa {

// One physical or simulated line under SerialLine: opens, moves bytes, drives DTR.
class PortBackend : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Opens at 115200 8N1 with RTS/CTS flow control, DTR lowered and RTS raised.
    virtual bool open(QString *error) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Hands bytes to the line; they go out in the background, in order.
    virtual void write(const QByteArray &bytes) = 0;
    virtual QByteArray readAll() = 0;
    // Bytes handed to the line but not yet sent.
    virtual qint64 bytesToWrite() const = 0;
    // False when the line cannot drive DTR (a pseudo-terminal, for instance).
    virtual bool setDtr(bool raised) = 0;

signals:
    void readyRead();
    void bytesWritten(qint64 count);
    // The line went away under us (unplugged adapter, closed peer).
    void failed(const QString &message);
};

} // namespace oxa
