// Device operations: stop and run the unit's script, read and write its whole configuration, and
// the service commands.
#include "tform1.h"

#include "backup.h"
#include "entryline.h"
#include "portlayer.h"
#include "writeplan.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
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
    state.ReadStarting = true;
    ctl<QProgressBar>("Prubeh")->setValue(0);
    ctl<QPushButton>("SaveOXA")->setEnabled(true);
    // The grid and trees stay until the unit lists its entries (takeSimSize, or the first entry):
    // a read that is refused or cut off before that leaves the window as it was.
    state.FirstEntryOfRead = true;
}

void TForm1::StopOXAClick() {
    port()->setDtr(true);
    auto *progress = ctl<QProgressBar>("Prubeh");
    progress->setMaximum(250);
    progress->setValue(0);
    m_cekani->start();
    state.FirstEntryOfRead = true;
    showStatus("DeviceNic");
}

void TForm1::RunOXAClick() {
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
}

void TForm1::setControlsLocked(bool locked) {
    for (const char *name : LockedDuringWrite)
        ctl<QWidget>(name)->setEnabled(!locked);
}

void TForm1::SaveOXAClick() {
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
            keyValues << ctl<QLineEdit>(key.constData())->text().toLatin1();
    }
    QList<WriteRow> rows;
    for (const auto &[name, number] : phoneBookRows())
        rows << WriteRow{name, number};
    auto sequence = std::make_unique<WriteSequence>(keyValues, rows, state.SimSize);
    // A field with a line break would become two commands on the line: refuse before anything goes out.
    if (const auto &refused = sequence->refusal()) {
        const QString where = refused->gridRow > 0 ? tr("phone-book row %1 (%2)")
                                                         .arg(refused->gridRow)
                                                         .arg(QString::fromLatin1(refused->entryName))
                                                   : QString::fromLatin1(refused->entryName);
        report(tr("Nothing was written: the %1 of %2 holds a line break, which the unit cannot store.")
                   .arg(commandFieldName(refused->field), where));
        return;
    }

    keepBackupOfLastRead();
    setControlsLocked(true);
    auto *progress = ctl<QProgressBar>("Prubeh");
    progress->setMaximum(std::max(state.SimSize, 1));
    progress->show();
    m_write = std::move(sequence);
    const WriteAction start = m_write->start();
    state.WriteInProgress = true;
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
    m_writeTimeout->start();
}

// One step per "OK" from the unit, so exactly one command is outstanding.
void TForm1::advanceWrite() {
    if (!m_write)
        return;
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
        if (port()->portNumber() != 0)
            send(action.command);
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
    state.SimWriteIndex = m_write->simWriteIndex();
    m_writeTimeout->start();
}

// Ends a write the unit refused or left unanswered: the window keeps its configuration for a retry.
void TForm1::failWrite(const QString &why) {
    if (!state.WriteInProgress || !m_write)
        return;
    const WriteAction failed = m_write->current();
    state.WriteInProgress = false;
    m_writeTimeout->stop();
    m_write.reset();
    ctl<QWidget>("Prubeh")->hide();
    setControlsLocked(false);
    QString entry;
    if (failed.kind == WriteAction::Kind::Write)
        entry = tr("writing %1 to SIM index %2").arg(QString::fromLatin1(failed.name)).arg(failed.simIndex);
    else if (failed.kind == WriteAction::Kind::Delete)
        entry = tr("emptying SIM index %1").arg(failed.simIndex);
    else
        entry = tr("step %1 of the write").arg(failed.writeStep);
    // A reason that is a sentence of its own (a lost port) brings its own full stop.
    QString reason = why;
    if (reason.endsWith(QLatin1Char('.')))
        reason.chop(1);
    QString message =
        tr("The write to the unit stopped at %1: %2. The window still holds the whole configuration; "
           "write it again when the unit is ready.")
            .arg(entry, reason);
    if (!state.LastBackup.isEmpty())
        message += QLatin1Char(' ') +
                   tr("What the unit held before this write is kept in %1.").arg(state.LastBackup);
    report(message);
}

// The configuration last read from the unit, kept before a write changes it, beside the settings file.
void TForm1::keepBackupOfLastRead() {
    state.LastBackup.clear();
    if (state.LastRead.isEmpty()) {
        log(tr("Nothing has been read from the unit yet, so no backup was made before this write."));
        return;
    }
    const QString folder = QFileInfo(settingsPath()).absoluteDir().filePath(QStringLiteral("backups"));
    QString error;
    state.LastBackup = writeBackup(folder, state.LastRead, QDateTime::currentDateTime(), BackupsKept, &error);
    if (state.LastBackup.isEmpty())
        log(tr("No backup could be made before this write: %1").arg(error));
    else
        log(tr("Backup of the unit's configuration before this write: %1").arg(state.LastBackup));
}

} // namespace oxa
