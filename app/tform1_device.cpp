// The device column and the signal strip: the user's operations on the unit go to the session, and what
// the session does and hears shows here.
#include "tform1.h"

#include "keyentries.h"
#include "monitor.h"
#include "portlayer.h"
#include "replies.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

namespace oxa {

namespace {

// What a whole-device write locks, so nothing changes under it.
constexpr const char *LockedDuringWrite[] = {"SaveOXA",   "LoadOXA", "RunOXA",  "StopOXA",
                                             "Save",      "Load",    "signal",  "Buttons",
                                             "PhoneBook", "seting",  "service", "KeyBoardParams"};

// The device buttons wait while an upload runs: a read, write, run or stop would put its commands
// between the upload's.
constexpr const char *LockedDuringUpload[] = {"SaveOXA", "LoadOXA", "RunOXA", "StopOXA"};

} // namespace

void TForm1::connectSession() {
    UnitSession *session = m_session;
    connect(session, &UnitSession::dataArrived, this, &TForm1::blinkLineIndicator);
    connect(session, &UnitSession::lineReceived, this, &TForm1::logReceivedLine);
    connect(session, &UnitSession::note, this, &TForm1::log);
    connect(session, &UnitSession::failed, this, &TForm1::report);
    connect(session, &UnitSession::replyHandled, this, &TForm1::showReply);
    connect(session, &UnitSession::modeChanged, this, &TForm1::showMode);
    connect(session, &UnitSession::operatorNamed, this,
            [this](const QByteArray &name) { setPanelText(0, operatorPanelText(shownText(name))); });
    connect(session, &UnitSession::simSizeReported, this,
            [this](int size) { setPanelText(2, simPanelText(size)); });
    connect(session, &UnitSession::batteryReported, this, &TForm1::showBattery);
    connect(session, &UnitSession::signalReported, this, &TForm1::showSignal);
    connect(session, &UnitSession::started, this, &TForm1::operationStarted);
    connect(session, &UnitSession::progress, this, &TForm1::operationProgress);
    connect(session, &UnitSession::stopped, this, &TForm1::operationStopped);
    connect(session, &UnitSession::finished, this, &TForm1::operationFinished);
    connect(session, &UnitSession::detectRestored, this, &TForm1::showDetectSetting);
    connect(session, &UnitSession::busyChanged, this, &TForm1::updateCancelButton);
}

void TForm1::logReceivedLine(const QByteArray &line) {
    log(QLatin1Char('[') + m_logClock.now() + QStringLiteral("]   ") + shownText(line));
}

void TForm1::showMode(UnitMode mode) {
    switch (mode) {
    case UnitMode::Running:
        showStatus("DeviceRun");
        break;
    case UnitMode::Programming:
        showStatus("DeviceStop");
        break;
    case UnitMode::Waiting:
        showStatus("DeviceNic");
        break;
    }
}

// The displays each reply moves, after the session has acted on it.
void TForm1::showReply(ReplyKind kind, const QByteArray &) {
    switch (kind) {
    case ReplyKind::StopReport:
    case ReplyKind::SledReport:
        // The script has stopped: the wait is over, and the unit can be read, written and run.
        m_cekani->stop();
        ctl<QWidget>("Prubeh")->hide();
        for (const char *button : {"SaveOXA", "RunOXA", "LoadOXA"})
            ctl<QPushButton>(button)->setEnabled(true);
        break;
    case ReplyKind::Telit:
        ctl<QPushButton>("LoadOXA")->setEnabled(true);
        break;
    case ReplyKind::Battery:
        m_cekani->stop();
        ctl<QWidget>("Prubeh")->hide();
        break;
    case ReplyKind::Cops:
        ctl<QPushButton>("LoadOXA")->setEnabled(false);
        ctl<QPushButton>("SaveOXA")->setEnabled(false);
        break;
    default:
        break;
    }
}

void TForm1::showBattery(const BatteryReading &reading) {
    setPanelText(1, batteryPanelText(reading));
    auto *bar = ctl<QProgressBar>("BVoltage");
    bar->setValue(std::clamp(reading.value, bar->minimum(), bar->maximum()));
    ctl<QLabel>("Voltage")->setText(voltageCaption(reading));
}

void TForm1::showSignal(int level, bool confirmsRunning) {
    auto *meter = ctl<QProgressBar>("Smeter");
    const QColor colour = QColor(QRgb(signalRgb(level)));
    meter->setStyleSheet(QStringLiteral("QProgressBar { background: #808080; border: 1px solid #5a5a5a; }"
                                        "QProgressBar::chunk { background: %1; }")
                             .arg(colour.name()));
    meter->setProperty("barColor", colour);
    meter->setValue(signalMeterValue(level));
    if (confirmsRunning) {
        ctl<QPushButton>("LoadOXA")->setEnabled(false);
        ctl<QPushButton>("SaveOXA")->setEnabled(false);
    }
}

void TForm1::operationStarted(UnitOperation operation) {
    auto *progress = ctl<QProgressBar>("Prubeh");
    switch (operation) {
    case UnitOperation::Read:
        progress->setValue(0);
        ctl<QPushButton>("SaveOXA")->setEnabled(true);
        break;
    case UnitOperation::WholeWrite:
    case UnitOperation::ChangeWrite:
        setControlsLocked(true);
        progress->setMaximum(std::max(m_session->simSize(), 1));
        progress->setValue(0);
        progress->show();
        break;
    case UnitOperation::Upload:
        lockDeviceButtons(true);
        progress->show();
        break;
    }
    updateCancelButton();
}

void TForm1::operationProgress(UnitOperation operation, int done, int total) {
    auto *progress = ctl<QProgressBar>("Prubeh");
    if (operation == UnitOperation::Read)
        return; // the read's bar stays as the Part's window has it: at 0
    progress->setRange(0, std::max(total, 1));
    progress->setValue(done);
}

void TForm1::operationStopped(UnitOperation operation) {
    switch (operation) {
    case UnitOperation::Read:
        break;
    case UnitOperation::WholeWrite:
    case UnitOperation::ChangeWrite:
        ctl<QWidget>("Prubeh")->hide();
        setControlsLocked(false);
        break;
    case UnitOperation::Upload:
        ctl<QWidget>("Prubeh")->hide();
        lockDeviceButtons(false);
        break;
    }
    updateCancelButton();
}

void TForm1::operationFinished(UnitOperation operation, const QString &) {
    // After a whole upload the bar stays at its last position until another operation hides it.
    if (operation == UnitOperation::Upload)
        ctl<QWidget>("Prubeh")->show();
    updateCancelButton();
}

// A whole listing: the trees, the detect box, the version and a message naming keys listed twice.
void TForm1::showListing(const QList<ReadEntry> &repeatedKeys) {
    const std::optional<Listing> &listing = m_configuration.listing();
    clearTrees();
    bool parameters = false;
    if (listing) {
        for (const ReadEntry &entry : listing->entries) {
            decodeTaggedEntry(entry.indexText, entry.number, entry.name);
            parameters = parameters || keyKind(entry.name) == KeyKind::Parameter;
        }
    }
    // The settings pages show the parameter strings the unit holds.
    if (parameters)
        DecodeParameters();
    showDetectSetting(!m_configuration.detectEntry().isEmpty());
    if (!m_configuration.version().isEmpty()) {
        if (versionDisablesTones(m_configuration.version()))
            for (const char *tone : {"TonBeep", "TonRing", "TonVoice"})
                ctl<QWidget>(tone)->setEnabled(false);
        setPanelText(4, versionPanelText(panelText(4), shownText(m_configuration.version())));
    }
    markUnwritableCells();
    if (repeatedKeys.isEmpty())
        return;
    QStringList repeated;
    for (const ReadEntry &entry : repeatedKeys)
        repeated
            << tr("- %1 at SIM index %2").arg(shownText(entry.name), QString::fromLatin1(entry.indexText));
    report(
        tr("The unit holds some keys more than once. The first entry of each key fills its box or setting; "
           "these later ones are shown in the phone book as rows, and a write to the unit stores them again "
           "as they are:\n%1\nDelete those rows from the phone book and write to the unit if it should hold "
           "each key once.")
            .arg(repeated.join(QLatin1Char('\n'))));
}

// Run, Stop and Load would put their commands between an upload's: they wait until it has ended.
bool TForm1::uploadRefuses(const char *what) {
    if (!m_session->uploading())
        return false;
    report(tr("%1 waits: an upload to the unit is under way.").arg(QLatin1String(what)));
    return true;
}

void TForm1::StopOXAClick() {
    if (uploadRefuses("Stop"))
        return;
    m_session->stop();
    auto *progress = ctl<QProgressBar>("Prubeh");
    progress->setMaximum(250);
    progress->setValue(0);
    m_cekani->start();
}

void TForm1::RunOXAClick() {
    if (uploadRefuses("Run"))
        return;
    m_session->run();
    auto *progress = ctl<QProgressBar>("Prubeh");
    progress->setMaximum(250);
    progress->setValue(0);
    m_cekani->start();
    ctl<QPushButton>("LoadOXA")->setEnabled(false);
    ctl<QPushButton>("SaveOXA")->setEnabled(false);
}

void TForm1::LoadOXAClick() {
    if (uploadRefuses("Load"))
        return;
    if (m_session->mode() == UnitMode::Waiting) {
        ctl<QPushButton>("LoadOXA")->setEnabled(false);
        ctl<QPushButton>("SaveOXA")->setEnabled(false);
    }
    m_session->read();
}

void TForm1::signalClick() {
    m_session->askSignal();
}

void TForm1::IMEIClick() {
    m_session->askSerialNumber();
}

void TForm1::InicializaceClick() {
    m_session->selectDefaultScript();
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
    updateCancelButton();
}

void TForm1::setControlsLocked(bool locked) {
    for (const char *name : LockedDuringWrite)
        ctl<QWidget>(name)->setEnabled(!locked);
}

void TForm1::lockDeviceButtons(bool locked) {
    if (locked) {
        if (!m_lockedForUpload.isEmpty())
            return; // locked already (Upgrade pressed again)
        for (const char *name : LockedDuringUpload) {
            m_lockedForUpload.append({name, ctl<QWidget>(name)->isEnabled()});
            ctl<QWidget>(name)->setEnabled(false);
        }
        return;
    }
    for (const auto &[name, enabled] : std::exchange(m_lockedForUpload, {}))
        ctl<QWidget>(name)->setEnabled(enabled);
}

void TForm1::SaveOXAClick() {
    if (m_session->lteModule()) {
        ctl<QWidget>("TonBeep")->setEnabled(true);
        ctl<QWidget>("TonRing")->setEnabled(false);
        ctl<QWidget>("TonVoice")->setEnabled(true);
    }
    EncodeParameters();
    QList<WriteRow> rows;
    for (const PhoneBookRow &row : m_configuration.rows())
        rows << WriteRow{row.name, row.phone};
    // An empty phone book still shows its one empty row, which the write passes with an "AT".
    if (rows.isEmpty())
        rows << WriteRow{};
    m_session->writeWhole(m_configuration.writeKeyValues(), rows);
}

void TForm1::cancelOperation() {
    if (m_session->longOperationRunning()) {
        m_session->cancel();
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
    const bool running = (m_session && m_session->longOperationRunning()) || m_cekani->isActive();
    if (cancel->isHidden() != running)
        return;
    cancel->setVisible(running);
    m_cancelShortcut->setEnabled(running);
    auto *progress = ctl<QWidget>("Prubeh");
    QRect strip = progress->geometry();
    strip.setRight(running ? cancel->geometry().left() - 4 : cancel->geometry().right() - 2);
    progress->setGeometry(strip);
}

} // namespace oxa
