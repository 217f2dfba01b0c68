// Device operations: stop and run the unit's script, read and write its whole configuration, and
// the service commands.
#include "tform1.h"

#include "backup.h"
#include "entryline.h"
#include "keyentries.h"
#include "nodetext.h"
#include "portlayer.h"
#include "replies.h"
#include "upload_flow.h"
#include "writeplan.h"

#include <QAbstractButton>

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSet>
#include <QShortcut>
#include <QTimer>

namespace oxa {

namespace {

constexpr int BackupsKept = 20;

// What a whole-device write locks, so nothing changes under it.
constexpr const char *LockedDuringWrite[] = {"SaveOXA",   "LoadOXA", "RunOXA",  "StopOXA",
                                             "Save",      "Load",    "signal",  "Buttons",
                                             "PhoneBook", "seting",  "service", "KeyBoardParams"};

} // namespace

void TForm1::PrepareRead() {
    ctl<QProgressBar>("Prubeh")->setValue(0);
    ctl<QPushButton>("SaveOXA")->setEnabled(true);
    // The grid and trees stay until the unit has listed its whole SIM: a read that is refused, cut off
    // or garbled leaves the window as it was.
    startReadChain();
}

// The read chain's first command has gone out (or goes out next, after a pause): replies that arrived
// before it are not the read's.
void TForm1::startReadChain() {
    state.Read.startChain();
    state.ReadEpoch = state.Epochs.commandsSent();
    m_readSilence->start();
}

// The listing is whole: the window shows it, and nothing from before it.
void TForm1::listingComplete() {
    m_readSilence->stop();
    applyListing(state.Read.takeListing());
}

void TForm1::applyListing(const Listing &listing) {
    state.WholeListing = listing;
    ++state.ListingsShown;
    state.ListingStale.clear();
    state.WriteBlocked.clear();
    state.SimSize = listing.sim.size;
    clearPhoneBook();
    clearTrees();
    state.DetectEntry.clear();
    showDetectSetting(false);
    // A key the unit no longer holds shows empty, as the next write would leave it.
    for (const char *key : kEditBoxKeys)
        ctl<QLineEdit>(key)->setText(QString());
    // A key listed twice is taken from its first entry, as a configuration file's first line of a key
    // is; each later one is shown as a phone-book row, so that a whole write puts back both entries,
    // the taken one first, as the unit held them.
    QSet<QByteArray> keysTaken;
    QStringList repeated;
    for (const ReadEntry &entry : listing.entries) {
        const bool storedKey = classifyEntryName(entry.name) == EntryTarget::KeyBox ||
                               classifyEntryName(entry.name) == EntryTarget::Parameter;
        const bool repeats = storedKey && keysTaken.contains(entry.name);
        if (storedKey)
            keysTaken.insert(entry.name);
        if (repeats)
            repeated << tr("- %1 at SIM index %2")
                            .arg(QString::fromLatin1(entry.name), QString::fromLatin1(entry.indexText));
        showListedEntry(entry, repeats);
    }
    if (!repeated.isEmpty())
        report(tr("The unit holds some keys more than once. The first entry of each key fills its box or "
                  "setting; these later ones are shown in the phone book as rows, and a write to the unit "
                  "stores them again as they are:\n%1\nDelete those rows from the phone book and write to "
                  "the unit if it should hold each key once.")
                   .arg(repeated.join(QLatin1Char('\n'))));
}

void TForm1::showListedEntry(const ReadEntry &entry, bool repeatsKey) {
    decodeTaggedEntry(entry.indexText, entry.number, entry.name);
    const EntryTarget target = repeatsKey ? EntryTarget::GridRow : classifyEntryName(entry.name);
    switch (target) {
    case EntryTarget::KeyBox:
        if (auto *box = ctl<QLineEdit>(entry.name.constData()))
            box->setText(shownText(entry.number));
        break;
    case EntryTarget::Version:
        if (versionDisablesTones(entry.number))
            for (const char *tone : {"TonBeep", "TonRing", "TonVoice"})
                ctl<QWidget>(tone)->setEnabled(false);
        setPanelText(4, versionPanelText(panelText(4), shownText(entry.number)));
        break;
    case EntryTarget::Parameter:
        if (entry.name == "PAROXA")
            state.PAROXA = entry.number;
        else if (entry.name == "PARRL1")
            state.PARRL1 = entry.number;
        else if (entry.name == "PARRL2")
            state.PARRL2 = entry.number;
        else
            state.PARKEY = entry.number;
        DecodeParameters();
        break;
    case EntryTarget::GridRow:
        appendPhoneBookRow(entry.name, entry.number);
        break;
    }
}

// The read ended without its listing: said once; the window keeps what it showed, and nothing that
// addresses an index goes out until a whole read.
void TForm1::readFailed() {
    m_readSilence->stop();
    const QString what = describeFailedRead(state.Read);
    blockWholeWrite(what);
    report(tr("The unit was not read completely: %1. The window still shows what it showed before; "
              "nothing is written to or deleted from the unit until it has been read whole. Check the "
              "cable and the unit, then read it again (Load).")
               .arg(what));
}

// The chain ended as the protocol has it (the script still runs, or the SIM is too small to list).
void TForm1::readEndedWithoutListing() {
    m_readSilence->stop();
    const std::optional<SimGeometry> &sim = state.Read.geometry();
    if (sim && state.WholeListing && sim->size != state.WholeListing->sim.size)
        blockWholeWrite(tr("the unit now reports a SIM of %1 entries, which was not listed").arg(sim->size));
    else
        markListingStale(tr("the last read of the unit did not list its SIM"));
}

void TForm1::markListingStale(const QString &why) {
    state.ListingStale = why;
}

void TForm1::blockWholeWrite(const QString &why) {
    state.ListingStale = why;
    state.WriteBlocked = why;
}

// Another message already says what went wrong; the read only must not wait any longer.
void TForm1::endReadQuietly(const QString &why) {
    if (state.Read.fail(why) != UnitRead::Progress::Failed)
        return;
    m_readSilence->stop();
    blockWholeWrite(describeFailedRead(state.Read));
}

void TForm1::readSilent() {
    if (state.Read.fail(tr("the unit sent nothing for %1 s").arg(ReadSilenceMs / 1000)) ==
        UnitRead::Progress::Failed)
        readFailed();
}

std::optional<QString> TForm1::whyDeviceBusy() const {
    if (state.WriteInProgress)
        return tr("a write to the unit is under way");
    if (upload.running || state.UploadWaiting || state.AsendPending)
        return tr("an upload to the unit is under way");
    if (state.Read.underway())
        return tr("the unit is being read");
    if (m_entryTimeout->isActive())
        return tr("a change waits for the unit's answer");
    return std::nullopt;
}

bool TForm1::mayAddress(const QByteArray &node) {
    if (const std::optional<QString> busy = whyDeviceBusy()) {
        report(tr("Nothing was sent: %1. Try again when it has finished.").arg(*busy));
        return false;
    }
    const QByteArray indexText = nodeIndex(node);
    const std::optional<int> index = parseDecimal(indexText);
    const ReadEntry *listed = state.WholeListing && index ? state.WholeListing->entryAt(*index)
                                                          : static_cast<const ReadEntry *>(nullptr);
    QString why = state.ListingStale;
    if (why.isEmpty() && (!listed || nodeText(listed->indexText, listed->name, listed->number) != node))
        why = tr("the last read of the unit does not list %1 at SIM index %2")
                  .arg(shownText(nodeName(node)), shownText(indexText));
    if (why.isEmpty())
        return true;
    report(tr("Nothing was sent: %1, so SIM index %2 may hold another entry now. Read the unit (Load) and "
              "try again.")
               .arg(why, shownText(indexText)));
    return false;
}

// Run, Stop and Load would put their commands between an upload's: they wait until it has ended.
bool TForm1::uploadRefuses(const char *what) {
    if (!upload.running && !state.UploadWaiting && !state.AsendPending)
        return false;
    report(tr("%1 waits: an upload to the unit is under way.").arg(QLatin1String(what)));
    return true;
}

void TForm1::StopOXAClick() {
    if (uploadRefuses("Stop"))
        return;
    port()->setDtr(true);
    auto *progress = ctl<QProgressBar>("Prubeh");
    progress->setMaximum(250);
    progress->setValue(0);
    m_cekani->start();
    showStatus("DeviceNic");
}

void TForm1::RunOXAClick() {
    if (uploadRefuses("Run"))
        return;
    // The running script may change the SIM (by SMS, for example).
    markListingStale(tr("the unit's script has run since the last read"));
    port()->setDtr(false);
    pause(1000);
    if (!state.LteModule)
        send("AT#REBOOT\r\n");
    auto *progress = ctl<QProgressBar>("Prubeh");
    progress->setMaximum(250);
    progress->setValue(0);
    m_cekani->start();
    showStatus("DeviceNic");
    ctl<QPushButton>("LoadOXA")->setEnabled(false);
    ctl<QPushButton>("SaveOXA")->setEnabled(false);
}

void TForm1::LoadOXAClick() {
    if (uploadRefuses("Load"))
        return;
    if (!ctl<QWidget>("DeviceNic")->isHidden()) {
        send("AT+CGMI\r\n");
        showStatus("DeviceRun");
        ctl<QPushButton>("LoadOXA")->setEnabled(false);
        ctl<QPushButton>("SaveOXA")->setEnabled(false);
    }
    if (!ctl<QWidget>("DeviceStop")->isHidden()) {
        send("AT#SPN\r\n");
        PrepareRead();
        showStatus("DeviceStop");
    }
}

void TForm1::signalClick() {
    send("AT+CSQ\r\n");
}

void TForm1::IMEIClick() {
    send("AT#CGSN\r\n");
}

void TForm1::InicializaceClick() {
    send("AT#ESCRIPT=oxa.pyo\r\n");
}

void TForm1::CekaniTimer() {
    auto *progress = ctl<QProgressBar>("Prubeh");
    progress->setValue(progress->value() + 1);
    progress->show();
    if (progress->value() < progress->maximum())
        return;
    // The bar is full and the unit has said nothing: the wait ends, with what to check.
    m_cekani->stop();
    progress->hide();
    for (const char *button : {"StopOXA", "RunOXA", "LoadOXA"})
        ctl<QWidget>(button)->setEnabled(true);
    const QString portName = port()->portName().isEmpty() ? tr("the serial port") : port()->portName();
    const QString what = port()->dtr() ? tr("that its script stopped") : tr("that its script runs again");
    report(tr("The unit did not report %1 within %2 s. Check the cable to %3, the unit's power supply, "
              "and that %3 is the port the unit is connected to; then press Stop (or Run) again. Load asks "
              "the unit directly whether it takes commands.")
               .arg(what)
               .arg(progress->maximum())
               .arg(portName));
}

void TForm1::setControlsLocked(bool locked) {
    for (const char *name : LockedDuringWrite)
        ctl<QWidget>(name)->setEnabled(!locked);
}

void TForm1::SaveOXAClick() {
    if (const std::optional<QString> busy = whyDeviceBusy()) {
        report(tr("Nothing was written: %1. Try again when it has finished.").arg(*busy));
        return;
    }
    // The write empties every index it does not fill: it needs the size of a SIM read whole, and a read
    // that was cut off must not be taken for what the unit holds.
    if (!state.WholeListing || !state.WriteBlocked.isEmpty()) {
        const QString why =
            state.WriteBlocked.isEmpty() ? tr("the unit has not been read yet") : state.WriteBlocked;
        report(tr("Nothing was written: %1. Read the unit (Load) first, so that the write knows its SIM and "
                  "a backup of it can be kept. To keep the configuration shown now, save it to a file (PC "
                  "Save) before reading, and load it again afterwards.")
                   .arg(why));
        return;
    }
    if (state.LteModule) {
        ctl<QWidget>("TonBeep")->setEnabled(true);
        ctl<QWidget>("TonRing")->setEnabled(false);
        ctl<QWidget>("TonVoice")->setEnabled(true);
    }
    EncodeParameters();

    QList<QByteArray> keyValues;
    for (const QByteArray &key : writeKeys()) {
        if (key == "PAROXA")
            keyValues << state.PAROXA;
        else if (key == "PARRL1")
            keyValues << state.PARRL1;
        else if (key == "PARRL2")
            keyValues << state.PARRL2;
        else if (key == "PARKEY")
            keyValues << state.PARKEY;
        else
            keyValues << unitBytes(ctl<QLineEdit>(key.constData())->text());
    }
    QList<WriteRow> rows;
    for (const auto &[name, number] : phoneBookRows())
        rows << WriteRow{name, number};
    const SimGeometry sim = state.WholeListing->sim;
    // Everything the unit would refuse, or that would not fit, is found before the first command.
    if (const QList<WriteProblem> problems = checkWholeWrite(keyValues, rows, sim); !problems.isEmpty()) {
        report(tr("Nothing was written, because the unit could not store all of it:\n%1\nCorrect these "
                  "entries and write again.")
                   .arg(describeWriteProblems(problems, sim, m_codePage)));
        return;
    }
    auto sequence = std::make_unique<WriteSequence>(keyValues, rows, sim.size);
    if (!keepBackupOfLastRead())
        return;

    setControlsLocked(true);
    auto *progress = ctl<QProgressBar>("Prubeh");
    progress->setMaximum(std::max(state.SimSize, 1));
    progress->show();
    m_write = std::move(sequence);
    const WriteAction start = m_write->start();
    state.WriteInProgress = true;
    state.WriteCancelled = false;
    state.WriteStep = 0;
    state.SimWriteIndex = 1;
    try {
        send(start.command);
    } catch (const PortError &) {
        state.WriteInProgress = false;
        m_write.reset();
        progress->hide();
        setControlsLocked(false);
        throw;
    }
    state.WriteCommandEpoch = state.Epochs.commandsSent();
    // From the first command on, the unit's SIM is no longer the one last read.
    markListingStale(tr("a write to the unit did not finish"));
    m_writeTimeout->start();
}

// One step per "OK" from the unit, so exactly one command is outstanding.
void TForm1::advanceWrite() {
    if (!m_write)
        return;
    if (std::exchange(state.WriteCancelled, false)) {
        endCancelledWrite();
        return;
    }
    const WriteAction action = m_write->next();
    state.WriteStep = action.writeStep;
    ctl<QProgressBar>("Prubeh")->setValue(action.writeStep);
    if (action.kind == WriteAction::Kind::Finish) {
        state.WriteInProgress = false;
        m_writeTimeout->stop();
        m_write.reset();
        ctl<QWidget>("Prubeh")->hide();
        setControlsLocked(false);
        PrepareRead();
        if (port()->portNumber() != 0) {
            send(action.command);
            // The read-back: its listing's "OK" is the only final reply still to come.
            state.Read.listingAsked(state.WholeListing->sim, 1);
            state.ReadEpoch = state.Epochs.commandsSent();
        } else {
            state.Read.fail(tr("the line to the unit was lost before the read-back"));
            readEndedWithoutListing();
        }
        return;
    }
    m_writeTimeout->stop();
    pause(action.pauseBeforeMs);
    if (!action.log.isEmpty())
        log(action.log);
    try {
        send(action.command);
    } catch (const PortError &error) {
        failWrite(error.text());
        return;
    }
    state.WriteCommandEpoch = state.Epochs.commandsSent();
    state.SimWriteIndex = m_write->simWriteIndex();
    m_writeTimeout->start();
}

// The command in flight was answered; nothing after it goes out. The unit holds the new configuration up
// to the last index written and what it held before after it.
void TForm1::endCancelledWrite() {
    const WriteAction last = m_write->current();
    state.WriteInProgress = false;
    m_writeTimeout->stop();
    m_write.reset();
    ctl<QWidget>("Prubeh")->hide();
    setControlsLocked(false);
    const QString where =
        last.simIndex > 0 ? tr("SIM index %1").arg(last.simIndex) : tr("step %1").arg(last.writeStep);
    markListingStale(tr("the write to the unit was cancelled at %1").arg(where));
    QString message =
        tr("The write was cancelled after %1: the unit holds the new configuration up to there and "
           "what it held before after it. Write again, or read the unit (Load) to see what it holds.")
            .arg(where);
    if (!state.LastBackup.isEmpty())
        message += QLatin1Char(' ') +
                   tr("What the unit held before this write is kept in %1.").arg(state.LastBackup);
    log(message);
    report(message);
}

void TForm1::cancelOperation() {
    if (state.WriteInProgress) {
        state.WriteCancelled = true;
        log(tr("Cancel: the write stops once the unit has answered its command in flight."));
    } else if (upload.running) {
        cancelUpload(*this);
        log(tr("Cancel: the upload stops once the module has finished the step in flight."));
    } else if (state.Read.underway()) {
        const int entries = state.Read.entriesSoFar();
        endReadQuietly(tr("the read was cancelled"));
        const QString message = tr("The read was cancelled after %1 entries; the window still shows what it "
                                   "showed before. Read the unit (Load) before changing entries or writing.")
                                    .arg(entries);
        log(message);
        report(message);
    } else if (m_cekani->isActive()) {
        m_cekani->stop();
        ctl<QWidget>("Prubeh")->hide();
        for (const char *button : {"StopOXA", "RunOXA", "LoadOXA"})
            ctl<QWidget>(button)->setEnabled(true);
        log(tr("Cancel: the program no longer waits for the unit to report its state."));
    }
    updateCancelButton();
}

// Cancel is there exactly while something long runs; the progress strip makes room for it.
void TForm1::updateCancelButton() {
    auto *cancel = ctl<QWidget>("CancelOperation");
    const bool running =
        state.WriteInProgress || upload.running || state.Read.underway() || m_cekani->isActive();
    if (cancel->isHidden() != running)
        return;
    cancel->setVisible(running);
    m_cancelShortcut->setEnabled(running);
    auto *progress = ctl<QWidget>("Prubeh");
    QRect strip = progress->geometry();
    strip.setRight(running ? cancel->geometry().left() - 4 : cancel->geometry().right() - 2);
    progress->setGeometry(strip);
}

// A refusal during the write names the command it answered: one that arrived before the current
// command went out answered the one before it.
void TForm1::writeRefused(const QByteArray &line, quint64 epoch) {
    const QString why = tr("the unit answered \"%1\"").arg(shownText(line));
    failWrite(why, epoch < state.WriteCommandEpoch ? WriteRefusalOf::PreviousCommand
                                                   : WriteRefusalOf::CurrentCommand);
}

// Ends a write the unit refused or left unanswered: the window keeps its configuration for a retry.
void TForm1::failWrite(const QString &why, WriteRefusalOf which) {
    if (!state.WriteInProgress || !m_write)
        return;
    const WriteAction failed =
        which == WriteRefusalOf::PreviousCommand ? m_write->previous() : m_write->current();
    state.WriteInProgress = false;
    m_writeTimeout->stop();
    m_write.reset();
    ctl<QWidget>("Prubeh")->hide();
    setControlsLocked(false);
    QString entry;
    if (failed.kind == WriteAction::Kind::Write)
        entry = tr("writing %1 to SIM index %2").arg(shownText(failed.name)).arg(failed.simIndex);
    else if (failed.kind == WriteAction::Kind::Delete)
        entry = tr("emptying SIM index %1").arg(failed.simIndex);
    else
        entry = tr("step %1 of the write").arg(failed.writeStep);
    // A reason that is a sentence of its own (a lost port) brings its own full stop.
    QString reason = why;
    if (reason.endsWith(QLatin1Char('.')))
        reason.chop(1);
    markListingStale(tr("the write to the unit stopped at %1").arg(entry));
    QString message =
        tr("The write to the unit stopped at %1: %2. The window still holds the whole configuration; "
           "write it again when the unit is ready (read it first: it holds part of the new configuration).")
            .arg(entry, reason);
    if (!state.LastBackup.isEmpty())
        message += QLatin1Char(' ') +
                   tr("What the unit held before this write is kept in %1.").arg(state.LastBackup);
    report(message);
}

// The configuration last read whole from the unit, kept before a write changes it, beside the settings
// file, and read back before the write starts. Without a backup the user decides whether to go on.
bool TForm1::keepBackupOfLastRead() {
    state.LastBackup.clear();
    const QString folder = QFileInfo(settingsPath()).absoluteDir().filePath(QStringLiteral("backups"));
    UnitEntries entries;
    for (const ReadEntry &entry : state.WholeListing->entries)
        entries.append({entry.name, entry.number});
    QString error;
    state.LastBackup = writeBackup(folder, entries, QDateTime::currentDateTime(), BackupsKept, &error);
    if (!state.LastBackup.isEmpty()) {
        log(tr("Backup of the unit's configuration before this write: %1").arg(state.LastBackup));
        return true;
    }
    log(tr("No backup could be made before this write: %1").arg(error));
    const bool goOn = m_seams.dialogs->confirm(
        tr("No backup of what the unit holds now could be made (%1).\n\nWrite to the unit without a "
           "backup?")
            .arg(error));
    if (goOn)
        log(tr("Writing without a backup, as chosen."));
    return goOn;
}

} // namespace oxa
