// The session with the unit: single-entry changes (memories, buttons, codes), deletes and the detect
// switch, each followed by a read of the unit.
#include "unitsession.h"

#include "commands.h"
#include "devicecommands.h"
#include "nodetext.h"
#include "portlayer.h"
#include "unitconfiguration.h"

#include <QTimer>

namespace oxa {

// A change goes out only when the unit is free; a rewrite only to the index the last whole read gave
// the node. A new entry carries no index and the unit picks a free one.
bool UnitSession::maySendChange(const std::optional<QByteArray> &node) {
    if (node)
        return mayAddress(*node);
    if (const std::optional<QString> busy = whyBusy()) {
        fail(tr("Nothing was sent: %1. Try again when it has finished.").arg(*busy));
        return false;
    }
    return true;
}

void UnitSession::writeEntry(const QByteArray &command, const std::optional<QByteArray> &addressedNode) {
    whenFree([this, command, addressedNode] {
        if (!maySendChange(addressedNode))
            return;
        send(command);
        awaitChangeReply();
    });
}

// Without a node nothing goes out; the next "OK" of any command reads the unit again.
void UnitSession::deleteEntry(const std::optional<QByteArray> &node) {
    whenFree([this, node] {
        if (!node) {
            m_refreshAfterOk = true;
            return;
        }
        // A lost port is not asked for again here: whatever the cable leads to now, a delete by an old
        // index is the last thing it should get.
        if (m_port.portNumber() == 0) {
            m_refreshAfterOk = true;
            fail(
                tr("Nothing was deleted: no port to the unit is open. Read the unit (Load) to open it again, "
                   "then delete."));
            return;
        }
        if (!mayAddress(*node))
            return;
        send(deleteEntryCommand(nodeIndex(*node)));
        awaitChangeReply();
    });
}

bool UnitSession::switchDetect(bool on) {
    const QByteArray entry = m_configuration.detectEntry();
    // A switch at the entry's index goes to that index only while the last whole read lists it there.
    const bool addressesIndex = !entry.isEmpty();
    if (addressesIndex ? !mayAddress(entry) : !maySendChange(std::nullopt))
        return false;
    whenFree([this, on, entry, addressesIndex] {
        // Switching off with no entry known has no index to delete; the read below shows what the SIM holds.
        if (on || addressesIndex) {
            try {
                send(detectBoxCommand(on, entry));
            } catch (const PortError &) {
                emit detectRestored(!on);
                throw;
            }
            // Its own reply says whether the unit took it; the read below starts whatever that reply is.
            m_detectChangePending = true;
            m_detectBoxBefore = !on;
            m_entryTimeout->start();
        }
        pauseThen(500, [this] {
            send(at::operatorName());
            startReadChain();
            emit started(UnitOperation::Read);
        });
    });
    return true;
}

void UnitSession::detectChangeStored() {
    if (!m_detectChangePending)
        return;
    m_detectChangePending = false;
    if (!m_refreshAfterOk)
        m_entryTimeout->stop();
}

void UnitSession::detectChangeFailed(const QString &why, bool tellUser) {
    if (!m_detectChangePending)
        return;
    m_detectChangePending = false;
    if (!m_refreshAfterOk)
        m_entryTimeout->stop();
    // The box is the user's view of the SIM: it goes back to what the unit still holds.
    emit detectRestored(m_detectBoxBefore);
    if (tellUser)
        fail(tr("The detect switch was not stored in the unit: %1. The box shows the unit's setting as last "
                "read.")
                 .arg(why));
}

void UnitSession::awaitChangeReply() {
    m_refreshAfterOk = true;
    m_entryTimeout->start();
    // Until the re-read has listed the SIM again, nothing else goes to an index.
    m_configuration.markListingStale(tr("a change to the unit has not been read back yet"));
}

void UnitSession::changeFailed(const QString &why) {
    if (!m_refreshAfterOk)
        return;
    m_refreshAfterOk = false;
    m_entryTimeout->stop();
    fail(tr("The change may not have been stored in the unit: %1. The trees still show the entries as last "
            "read; read the unit (Load) before changing entries again.")
             .arg(why));
}

} // namespace oxa
