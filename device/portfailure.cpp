#include "portfailure.h"

#include <QCoreApplication>

namespace oxa {

namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("PortFailure", text);
}

} // namespace

QString describePortOpenFailure(const QString &name, const PortFacts &facts, PortOpenError error,
                                const QString &systemWords) {
    if (!facts.exists) {
        const QString reason = facts.location == name
                                   ? tr("there is no such device (%1).").arg(facts.location)
                                   : tr("there is no such device (%1: a port name that is not a whole path "
                                        "is looked for in /dev).")
                                         .arg(facts.location);
        return reason + QLatin1Char(' ') +
               tr("Check that the adapter is plugged in, and choose the port from the list.");
    }
    if (!facts.serialDevice || error == PortOpenError::NotSerial)
        return tr("%1 is not a serial port. Choose the port the unit's cable is plugged into from the list.")
            .arg(facts.location);
    if (error == PortOpenError::Permission && !facts.permitted) {
        if (facts.group.isEmpty())
            return tr("permission denied: this user may not use %1. Ask the computer's administrator for "
                      "access to it.")
                .arg(facts.location);
        return tr("permission denied: only members of the group \"%1\" may use %2. Add this user to it with "
                  "the command\n    sudo usermod -aG %1 $USER\nthen log out and in again.")
            .arg(facts.group, facts.location);
    }
    if (error == PortOpenError::Permission)
        return tr("%1 is in use by another program. Close that program (a terminal program, or another "
                  "copy of this one) and try again.")
            .arg(facts.location);
    if (error == PortOpenError::NotFound)
        return tr("the device %1 is gone (unplugged, or its adapter switched off). Plug it in and try again.")
            .arg(facts.location);
    return systemWords;
}

QString describePortLoss(const QString &systemWords) {
    return tr("the device is gone, unplugged or switched off: %1").arg(systemWords);
}

} // namespace oxa
