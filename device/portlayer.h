#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <stdexcept>

namespace oxa {

// A send or open that failed. Handlers let it end their work and hand the text to the error report.
class PortError : public std::runtime_error {
public:
    explicit PortError(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString text() const { return QString::fromStdString(what()); }
};

// What the program needs of the serial line: the seam between the window and the port.
// Every call is made from the UI thread.
class PortLayer : public QObject {
    Q_OBJECT
public:
    static constexpr int OutputQueueSize = 64000;
    static constexpr int InputQueueSize = 4096;

    using QObject::QObject;

    // Queues every byte of `bytes`, opening the port first when it is not open.
    // Throws PortError when the port cannot be opened or the bytes do not fit into the free output
    // space; then nothing of them is queued.
    virtual void send(const QByteArray &bytes) = 0;

    // Received bytes waiting to be read.
    virtual int bytesAvailable() const = 0;
    // Takes the next received byte; 0 when none waits.
    virtual char readChar() = 0;

    // Free bytes in the output queue: OutputQueueSize when everything went out, and while closed.
    virtual int freeOutputSpace() const = 0;

    virtual void setDtr(bool raised) = 0;
    // The value last set.
    virtual bool dtr() const = 0;

    // Number of the port in use, 0 while none has been chosen.
    virtual int portNumber() const = 0;
    // The name of the port in use as the user knows it (a device path, COM3); empty while none.
    virtual QString portName() const { return {}; }

    virtual void close() = 0;

signals:
    // Received bytes wait; `count` is how many.
    void dataAvailable(int count);
    // A line the monitor should show about the line itself (a DTR the port cannot drive, a lost port).
    void notice(const QString &text);
    // The port went away (unplugged); it is closed, and the next send asks for a port again.
    void lost(const QString &message);
};

} // namespace oxa
