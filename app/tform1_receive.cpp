// The receive parser: bytes from the unit become lines, every line is logged, and the replies it
// knows drive the status displays and the read, write and upload sequences.
#include "tform1.h"

#include "entryline.h"
#include "linereader.h"
#include "monitor.h"
#include "okdispatch.h"
#include "portlayer.h"
#include "replies.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <utility>

namespace oxa {

void TForm1::ApdComPort1TriggerAvail(int count) {
    toggleReceiveIndicator();
    for (int i = 0; i < count; ++i) {
        switch (state.ReceiveLine.feed(port()->readChar())) {
        case LineReader::Event::Prompt:
            if (state.UploadWaiting)
                sendUploadData();
            break;
        case LineReader::Event::LineEnded:
            processLine(state.ReceiveLine.takeLine());
            break;
        default:
            break;
        }
    }
}

void TForm1::processLine(const QByteArray &line) {
    if (isLoggedLine(line))
        log(QLatin1Char('[') + m_logClock.now() + QStringLiteral("]   ") + QString::fromLatin1(line));
    if (showsRunTone(line))
        showStatus("DeviceRun");

    switch (classifyReply(line, state.AsendPending)) {
    case ReplyKind::Ok:
        reactToOk();
        break;
    case ReplyKind::StopReport:
        reactToStopReport(line);
        break;
    case ReplyKind::Telit:
        showStatus("DeviceStop");
        send("AT#SPN\r\n");
        PrepareRead();
        ctl<QPushButton>("LoadOXA")->setEnabled(true);
        break;
    case ReplyKind::SledReport:
        reactToScriptStopped();
        break;
    case ReplyKind::AsendDone:
        send("AT\r\n");
        state.AsendPending = false;
        break;
    case ReplyKind::Creg:
        pause(200);
        break;
    case ReplyKind::Battery:
        showBattery(line);
        break;
    case ReplyKind::Signal:
        showSignal(line);
        break;
    case ReplyKind::SimSize:
        takeSimSize(line);
        break;
    case ReplyKind::Entry:
        takeEntry(line);
        break;
    case ReplyKind::Operator:
        showOperator(line);
        break;
    case ReplyKind::Cops:
        showStatus("DeviceRun");
        ctl<QPushButton>("LoadOXA")->setEnabled(false);
        ctl<QPushButton>("SaveOXA")->setEnabled(false);
        break;
    case ReplyKind::Other:
        if (isErrorReply(line))
            state.ListingOks = 0;
        // A refused write or upload step would otherwise leave its sequence waiting for good.
        if (state.WriteInProgress && isErrorReply(line))
            failWrite(tr("the unit answered \"%1\"").arg(QString::fromLatin1(line)));
        else if (state.UploadWaiting && isErrorReply(line))
            uploadStepFailed(line);
        else if (state.RefreshAfterOk && isErrorReply(line))
            changeFailed(tr("the unit answered \"%1\"").arg(QString::fromLatin1(line)));
        else if (state.DetectChangePending && isErrorReply(line))
            detectChangeFailed(tr("the unit answered \"%1\"").arg(QString::fromLatin1(line)), true);
        break;
    }
}

void TForm1::reactToOk() {
    detectChangeStored();
    // A listing that ended without a single phone-book row still replaces the window's rows and trees;
    // one that was refused or cut off leaves them (the first row replaces them otherwise).
    if (state.ListingOks > 0 && --state.ListingOks == 0 && state.FirstEntryOfRead) {
        clearPhoneBook();
        clearTrees();
    }
    const OkFlags flags{state.RefreshAfterOk, state.UploadWaiting, state.AsendPending,
                        state.Ate0Sent,       state.LteModule,     state.WriteInProgress};
    for (const OkAction action : dispatchOk(flags)) {
        switch (action) {
        case OkAction::StartRefreshRead:
            state.RefreshAfterOk = false;
            m_entryTimeout->stop();
            PrepareRead();
            pause(200);
            send("AT#SPN\r\n");
            break;
        case OkAction::AdvanceUpload:
            advanceUpload();
            break;
        case OkAction::FinishLteStop:
            state.Ate0Sent = false;
            pause(200);
            log(QStringLiteral("----------------------2"));
            send("AT#SPN\r\n");
            log(QStringLiteral(">AT#SPN"));
            break;
        case OkAction::AdvanceWrite:
            advanceWrite();
            break;
        }
    }
}

// "STOP", or the LTE module's "#APLAYEV:" event: the script has stopped on our DTR request.
void TForm1::reactToStopReport(const QByteArray &line) {
    if (reportsLteModule(line))
        state.LteModule = true;
    if (!port()->dtr())
        return;
    m_cekani->stop();
    ctl<QWidget>("Prubeh")->hide();
    for (const char *button : {"SaveOXA", "RunOXA", "LoadOXA"})
        ctl<QPushButton>(button)->setEnabled(true);
    showStatus("DeviceStop");
    log(QStringLiteral("----------------------1"));
    send("ATE0\r\n");
    log(QStringLiteral(">ATE0"));
    state.Ate0Sent = true;
    log(QStringLiteral("ATE0=-1"));
    log(state.LteModule ? QStringLiteral("LTE=-1") : QStringLiteral("LTE=0"));
    pause(1000);
}

// "[AT#SLED=1]=": the script has let go of the module; it takes commands now.
void TForm1::reactToScriptStopped() {
    pause(1000);
    send("ATE0;#SPN\r\n");
    state.Ate0Sent = false;
    m_cekani->stop();
    ctl<QWidget>("Prubeh")->hide();
    for (const char *button : {"SaveOXA", "RunOXA", "LoadOXA"})
        ctl<QPushButton>(button)->setEnabled(true);
    showStatus("DeviceStop");
}

void TForm1::showBattery(const QByteArray &line) {
    m_cekani->stop();
    ctl<QWidget>("Prubeh")->hide();
    const std::optional<BatteryReading> reading = parseBattery(line);
    if (!reading)
        return; // logged already; a garbled field shows nothing
    log(QString::fromLatin1(reading->field));
    setPanelText(1, batteryPanelText(*reading));
    auto *bar = ctl<QProgressBar>("BVoltage");
    bar->setValue(std::clamp(reading->value, bar->minimum(), bar->maximum()));
    ctl<QLabel>("Voltage")->setText(voltageCaption(*reading));
}

void TForm1::showSignal(const QByteArray &line) {
    const std::optional<int> level = parseSignalLevel(line);
    if (!level)
        return;
    state.SignalLevel = *level;
    auto *meter = ctl<QProgressBar>("Smeter");
    meter->setStyleSheet(QStringLiteral("QProgressBar { background: #808080; border: 1px solid #5a5a5a; }"
                                        "QProgressBar::chunk { background: %1; }")
                             .arg(signalQColor(*level).name()));
    meter->setProperty("barColor", signalQColor(*level));
    meter->setValue(signalMeterValue(*level));
    const bool runningOrWaiting =
        !ctl<QWidget>("DeviceRun")->isHidden() || !ctl<QWidget>("DeviceNic")->isHidden();
    if (runningOrWaiting && state.Ate0Sent) {
        showStatus("DeviceRun");
        ctl<QPushButton>("LoadOXA")->setEnabled(false);
        ctl<QPushButton>("SaveOXA")->setEnabled(false);
    }
}

void TForm1::takeSimSize(const QByteArray &line) {
    const std::optional<int> size = parseSimSize(line);
    if (!size)
        return;
    state.SimSize = *size;
    setPanelText(2, simPanelText(*size));
    if (simSizeReadsEntries(*size)) {
        pause(100);
        if (port()->portNumber() != 0) {
            send("AT+CPBR=1," + QByteArray::number(*size) + "\r\n");
            state.ListingOks = 2;
        }
    }
}

void TForm1::takeEntry(const QByteArray &line) {
    const std::optional<ReadEntry> entry = parseEntryLine(line);
    if (!entry)
        return;
    if (std::exchange(state.ReadStarting, false))
        state.LastRead.clear();
    state.LastRead.append({entry->name, entry->number});
    decodeTaggedEntry(entry->indexText, entry->number, entry->name);
    switch (classifyEntryName(entry->name)) {
    case EntryTarget::KeyBox:
        if (auto *box = ctl<QLineEdit>(entry->name.constData()))
            box->setText(QString::fromLatin1(entry->number));
        break;
    case EntryTarget::Version:
        if (versionDisablesTones(entry->number))
            for (const char *tone : {"TonBeep", "TonRing", "TonVoice"})
                ctl<QWidget>(tone)->setEnabled(false);
        setPanelText(4, versionPanelText(panelText(4), entry->number));
        break;
    case EntryTarget::Parameter:
        if (entry->name == "PAROXA")
            state.PAROXA = entry->number;
        else if (entry->name == "PARRL1")
            state.PARRL1 = entry->number;
        else if (entry->name == "PARRL2")
            state.PARRL2 = entry->number;
        else
            state.PARKEY = entry->number;
        DecodeParameters();
        break;
    case EntryTarget::GridRow:
        if (state.FirstEntryOfRead) {
            clearPhoneBook();
            state.FirstEntryOfRead = false;
        }
        appendPhoneBookRow(entry->name, entry->number);
        break;
    }
}

void TForm1::showOperator(const QByteArray &line) {
    setPanelText(0, operatorPanelText(operatorText(line)));
    pause(200);
    if (port()->portNumber() != 0 && port()->dtr())
        send("AT+CPBR=?\r\n");
}

} // namespace oxa
