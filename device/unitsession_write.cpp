// The session with the unit: the whole write of the configuration, with its backup and read-back.
#include "unitsession.h"

#include "backup.h"
#include "devicecommands.h"
#include "portlayer.h"
#include "progressreport.h"
#include "unitconfiguration.h"

#include <QDateTime>
#include <QTimer>

namespace oxa {

namespace {
constexpr int BackupsKept = 20;
} // namespace

void UnitSession::writeWhole(const QList<QByteArray> &keyValues, const QList<WriteRow> &rows) {
    whenFree([this, keyValues, rows] {
        if (const std::optional<QString> busy = whyBusy()) {
            fail(tr("Nothing was written: %1. Try again when it has finished.").arg(*busy));
            return;
        }
        // The write empties every index it does not fill: it needs the size of a SIM read whole, and a
        // read that was cut off must not be taken for what the unit holds.
        const std::optional<Listing> &listing = m_configuration.listing();
        if (!listing || !m_configuration.writeBlocked().isEmpty()) {
            const QString why = m_configuration.writeBlocked().isEmpty()
                                    ? tr("the unit has not been read yet")
                                    : m_configuration.writeBlocked();
            fail(tr("Nothing was written: %1. Read the unit (Load) first, so that the write knows its SIM "
                    "and a "
                    "backup of it can be kept. To keep the configuration shown now, save it to a file (PC "
                    "Save) "
                    "before reading, and load it again afterwards.")
                     .arg(why));
            return;
        }
        const SimGeometry sim = listing->sim;
        // Everything the unit would refuse, or that would not fit, is found before the first command.
        if (const QList<WriteProblem> problems = checkWholeWrite(keyValues, rows, sim); !problems.isEmpty()) {
            fail(tr("Nothing was written, because the unit could not store all of it:\n%1\nCorrect these "
                    "entries "
                    "and write again.")
                     .arg(describeWriteProblems(problems, sim, m_codePage)));
            return;
        }
        auto sequence = std::make_unique<WriteSequence>(keyValues, rows, sim.size);
        if (!keepBackupOfLastRead())
            return;
        m_write = std::move(sequence);
        m_writeCancelled = false;
        m_readBackPending = false;
        const WriteAction start = m_write->start();
        emit started(UnitOperation::WholeWrite);
        try {
            send(start.command);
        } catch (const PortError &) {
            m_write.reset();
            emit stopped(UnitOperation::WholeWrite);
            throw;
        }
        m_writeCommandEpoch = m_epochs.commandsSent();
        // From the first command on, the unit's SIM is no longer the one last read.
        m_configuration.markListingStale(tr("a write to the unit did not finish"));
        m_writeTimeout->start();
    });
}

// One step per "OK" from the unit, so exactly one command is outstanding.
void UnitSession::advanceWrite() {
    if (!m_write)
        return;
    if (std::exchange(m_writeCancelled, false)) {
        endCancelledWrite();
        return;
    }
    const WriteAction action = m_write->next();
    emit progress(UnitOperation::WholeWrite, action.writeStep, std::max(m_write->simSize(), 1));
    if (action.kind == WriteAction::Kind::Finish) {
        m_writeTimeout->stop();
        const int simSize = m_write->simSize();
        m_write.reset();
        emit stopped(UnitOperation::WholeWrite);
        prepareRead();
        if (m_port.portNumber() != 0) {
            send(action.command);
            // The read-back: its listing's "OK" is the only final reply still to come.
            const SimGeometry sim =
                m_configuration.listing() ? m_configuration.listing()->sim : SimGeometry{simSize};
            m_read.listingAsked(sim, 1);
            m_readEpoch = m_epochs.commandsSent();
            m_readBackPending = true;
        } else {
            m_read.fail(tr("the line to the unit was lost before the read-back"));
            readEndedWithoutListing();
        }
        return;
    }
    m_writeTimeout->stop();
    pauseThen(action.pauseBeforeMs, [this, action] {
        if (!m_write)
            return; // ended meanwhile (the line was lost)
        if (!action.log.isEmpty())
            emit note(action.log);
        try {
            send(action.command);
        } catch (const PortError &error) {
            failWrite(error.text());
            return;
        }
        m_writeCommandEpoch = m_epochs.commandsSent();
        m_writeTimeout->start();
    });
}

// A refusal during the write names the command it answered: one that arrived before the current command
// went out answered the one before it.
void UnitSession::writeRefused(const QByteArray &line, quint64 epoch) {
    const QString why = tr("the unit answered \"%1\"").arg(m_codePage.decode(line));
    failWrite(why, epoch < m_writeCommandEpoch ? RefusalOf::PreviousCommand : RefusalOf::CurrentCommand);
}

// Ends a write the unit refused or left unanswered: the configuration stays for a retry.
void UnitSession::failWrite(const QString &why, RefusalOf which) {
    if (!m_write)
        return;
    const WriteAction failed = which == RefusalOf::PreviousCommand ? m_write->previous() : m_write->current();
    m_writeTimeout->stop();
    m_write.reset();
    emit stopped(UnitOperation::WholeWrite);
    QString entry;
    if (failed.kind == WriteAction::Kind::Write)
        entry = tr("writing %1 to SIM index %2").arg(m_codePage.decode(failed.name)).arg(failed.simIndex);
    else if (failed.kind == WriteAction::Kind::Delete)
        entry = tr("emptying SIM index %1").arg(failed.simIndex);
    else
        entry = tr("step %1 of the write").arg(failed.writeStep);
    // A reason that is a sentence of its own (a lost port) brings its own full stop.
    QString reason = why;
    if (reason.endsWith(QLatin1Char('.')))
        reason.chop(1);
    m_configuration.markListingStale(tr("the write to the unit stopped at %1").arg(entry));
    QString message =
        tr("The write to the unit stopped at %1: %2. The window still holds the whole configuration; write "
           "it "
           "again when the unit is ready (read it first: it holds part of the new configuration).")
            .arg(entry, reason);
    if (!m_lastBackup.isEmpty())
        message +=
            QLatin1Char(' ') + tr("What the unit held before this write is kept in %1.").arg(m_lastBackup);
    fail(message);
}

// The command in flight was answered; nothing after it goes out. The unit holds the new configuration up
// to the last index written and what it held before after it.
void UnitSession::endCancelledWrite() {
    const WriteAction last = m_write->current();
    m_writeTimeout->stop();
    m_write.reset();
    emit stopped(UnitOperation::WholeWrite);
    const QString where =
        last.simIndex > 0 ? tr("SIM index %1").arg(last.simIndex) : tr("step %1").arg(last.writeStep);
    m_configuration.markListingStale(tr("the write to the unit was cancelled at %1").arg(where));
    QString message =
        tr("The write was cancelled after %1: the unit holds the new configuration up to there and "
           "what it held before after it. Write again, or read the unit (Load) to see what it "
           "holds.")
            .arg(where);
    if (!m_lastBackup.isEmpty())
        message +=
            QLatin1Char(' ') + tr("What the unit held before this write is kept in %1.").arg(m_lastBackup);
    emit note(message);
    fail(message);
}

// The configuration last read whole from the unit, kept before a write changes it and read back before
// the write starts. Without a backup the user decides whether to go on.
bool UnitSession::keepBackupOfLastRead() {
    m_lastBackup.clear();
    UnitEntries entries;
    for (const ReadEntry &entry : m_configuration.listing()->entries)
        entries.append({entry.name, entry.number});
    QString error;
    m_lastBackup = writeBackup(m_backupFolder, entries, QDateTime::currentDateTime(), BackupsKept, &error);
    if (!m_lastBackup.isEmpty()) {
        emit note(tr("Backup of the unit's configuration before this write: %1").arg(m_lastBackup));
        return true;
    }
    emit note(tr("No backup could be made before this write: %1").arg(error));
    const bool goOn = m_questions.confirm(
        tr("No backup of what the unit holds now could be made (%1).\n\nWrite to the unit without a backup?")
            .arg(error));
    if (goOn)
        emit note(tr("Writing without a backup, as chosen."));
    return goOn;
}

} // namespace oxa
