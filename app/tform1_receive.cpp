// The receive parser: bytes from the unit become lines, every line is logged, and the replies it
// knows drive the status displays and the read, write and upload sequences.
#include "tform1.h"

#include "devicecommands.h"
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
    blinkLineIndicator();
    for (int i = 0; i < count; ++i) {
        const char byte = port()->readChar();
        const quint64 epoch = state.Epochs.byteRead();
        switch (state.ReceiveLine.feed(byte)) {
        case LineReader::Event::Prompt:
            if (state.UploadWaiting)
                sendUploadData();
            break;
        case LineReader::Event::Cut:
            log(tr("The unit sent a line longer than %1 bytes; it is cut there and the rest of it is not "
                   "kept.")
                    .arg(LineReader::MaxLineLength));
            break;
        case LineReader::Event::LineEnded: {
            const bool cut = state.ReceiveLine.completeLineWasCut();
            processLine(state.ReceiveLine.takeLine(), epoch, cut);
            break;
        }
        default:
            break;
        }
    }
}

void TForm1::processLine(const QByteArray &line, quint64 epoch, bool cut) {
    if (isLoggedLine(line))
        log(QLatin1Char('[') + m_logClock.now() + QStringLiteral("]   ") + shownText(line));
    // No reply is that long: what is left of it is not acted on, and a read it came in cannot be whole.
    if (cut) {
        if (state.Read.fail(tr("the unit sent a line longer than %1 bytes").arg(LineReader::MaxLineLength)) ==
            UnitRead::Progress::Failed)
            readFailed();
        return;
    }
    if (showsRunTone(line))
        showStatus("DeviceRun");

    const ReplyKind kind = classifyReply(line, state.AsendPending);
    switch (kind) {
    case ReplyKind::Ok:
        if (epoch >= state.ReadEpoch && state.Read.finalReply(true, line) == UnitRead::Progress::Complete)
            listingComplete();
        reactToOk(epoch);
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
        // The module's network registration: nothing to do, and no reason to hold the window.
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
        if (state.Read.entryLine(line) == UnitRead::Taken::Malformed)
            readFailed();
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
        if (!isErrorReply(line))
            break;
        // The detect switch goes out before the read that follows it, so its answer comes first.
        if (state.DetectChangePending) {
            detectChangeFailed(tr("the unit answered \"%1\"").arg(shownText(line)), true);
            break;
        }
        if (epoch >= state.ReadEpoch && state.Read.finalReply(false, line) == UnitRead::Progress::Failed)
            readFailed();
        // A refused write or upload step would otherwise leave its sequence waiting for good.
        if (state.WriteInProgress)
            writeRefused(line, epoch);
        else if (state.UploadWaiting)
            uploadStepFailed(line);
        else if (state.RefreshAfterOk)
            changeFailed(tr("the unit answered \"%1\"").arg(shownText(line)));
        break;
    }
    // A read is alive while its lines come; noise on the line does not keep it waiting.
    if (state.Read.underway() && kind != ReplyKind::Other)
        m_readSilence->start();
}

void TForm1::reactToOk(quint64 epoch) {
    detectChangeStored();
    // An "OK" that arrived before the write's current command went out answers an earlier command.
    const bool answersWriteCommand = state.WriteInProgress && epoch >= state.WriteCommandEpoch;
    const OkFlags flags{state.RefreshAfterOk, state.UploadWaiting, state.AsendPending,
                        state.Ate0Sent,       state.LteModule,     answersWriteCommand};
    for (const OkAction action : dispatchOk(flags)) {
        switch (action) {
        case OkAction::StartRefreshRead:
            state.RefreshAfterOk = false;
            m_entryTimeout->stop();
            // A read already under way shows the unit as it is now; a second chain would cut it off.
            if (state.Read.underway())
                break;
            PrepareRead();
            pause(200);
            send("AT#SPN\r\n");
            startReadChain();
            break;
        case OkAction::AdvanceUpload:
            advanceUpload();
            break;
        case OkAction::FinishLteStop:
            state.Ate0Sent = false;
            pause(200);
            log(QStringLiteral("----------------------2"));
            send("AT#SPN\r\n");
            startReadChain();
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
    startReadChain();
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
    log(shownText(reading->field));
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
    switch (state.Read.sizeLine(line)) {
    case UnitRead::Taken::Ignored:
        return; // not asked for: logged, and nothing changes
    case UnitRead::Taken::Malformed:
        readFailed();
        return;
    case UnitRead::Taken::Taken:
        break;
    }
    const SimGeometry sim = *state.Read.geometry();
    state.SimSize = sim.size;
    setPanelText(2, simPanelText(sim.size));
    if (simSizeReadsEntries(sim.size)) {
        pause(100);
        if (port()->portNumber() != 0) {
            send(at::readEntries(sim.size));
            // The size query's own "OK" is still to come, then the listing's.
            state.Read.listingAsked(sim, 2);
            state.ReadEpoch = state.Epochs.commandsSent() - 1;
            m_readSilence->start();
            return;
        }
    }
    state.Read.endWithoutListing();
    readEndedWithoutListing();
}

void TForm1::showOperator(const QByteArray &line) {
    setPanelText(0, operatorPanelText(shownText(operatorText(line))));
    // Only a read asks for the SIM's size; the operator's name alone changes nothing else.
    if (state.Read.phase() != UnitRead::Phase::Operator)
        return;
    pause(200);
    const bool asksSize = port()->portNumber() != 0 && port()->dtr();
    if (asksSize)
        send("AT+CPBR=?\r\n");
    state.Read.operatorShown(asksSize);
    if (!asksSize)
        readEndedWithoutListing();
}

} // namespace oxa
