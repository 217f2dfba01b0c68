#pragma once

#include <QString>

namespace oxa {

// What the system says of the device that a port name leads to, looked at after the port could not be
// opened (looking costs nothing and changes nothing on the line).
struct PortFacts {
    QString location;         // the device path that was opened
    bool exists = true;       // something is there
    bool serialDevice = true; // a character device, as serial ports are
    bool permitted = true;    // this user may read and write it
    QString group;            // the group whose members may use it; empty when no group may
};

// Why Qt SerialPort said the port could not be opened.
enum class PortOpenError {
    NotFound,   // no device (missing, or unplugged while opening)
    NotSerial,  // the device takes no serial settings
    Permission, // access refused, or the port is locked by another program
    Other,
};

// The reason for "The serial port NAME cannot be opened: ...", with what the user can do about it:
// no such device, not a serial port, permission denied (and the command that grants it), busy, gone.
// `systemWords` is the system's own description, used where nothing more can be said.
QString describePortOpenFailure(const QString &name, const PortFacts &facts, PortOpenError error,
                                const QString &systemWords);

// The reason for a port that stopped working while it was in use: its device went away.
QString describePortLoss(const QString &systemWords);

} // namespace oxa
