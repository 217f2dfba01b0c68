// The session with the unit: receiving, the reply table, the stop and run handshakes and the read chain.
#include "unitsession.h"

#include "devicecommands.h"
#include "nodetext.h"
#include "okdispatch.h"
#include "portlayer.h"
#include "progressreport.h"
#include "unitconfiguration.h"

#include <QTimer>

namespace oxa {

namespace {

QTimer *sessionTimer(QObject *parent, const char *name, int milliseconds) {
    auto *timer = new QTimer(parent);
    timer->setObjectName(QLatin1String(name));
    timer->setSingleShot(true);
    timer->setInterval(milliseconds);
    return timer;
}

QString quoted(const QByteArray &line) {
    return QLatin1Char('"') + QString::fromLatin1(line) + QLatin1Char('"');
}

} // namespace

UnitSession::UnitSession(PortLayer &port, UnitConfiguration &configuration, PauseTimer &pauses,
                         SessionQuestions &questions, QObject *parent)
    : QObject(parent), m_port(port), m_configuration(configuration), m_pauses(pauses),
      m_questions(questions) {
    m_writeTimeout = sessionTimer(this, "WriteTimeout", WriteReplyTimeoutMs);
    m_entryTimeout = sessionTimer(this, "EntryTimeout", WriteReplyTimeoutMs);
    m_readSilence = sessionTimer(this, "ReadSilence", ReadSilenceMs);
    m_uploadTimeout = sessionTimer(this, "UploadTimeout", UploadReplyTimeoutMs);
    connect(m_writeTimeout, &QTimer::timeout, this, [this] {
        whenFree([this] {
            failWrite(tr("the unit did not answer within %1 s").arg(m_writeTimeout->interval() / 1000.0));
        });
    });
    connect(m_entryTimeout, &QTimer::timeout, this, [this] {
        whenFree([this] {
            const QString why =
                tr("the unit did not answer within %1 s").arg(m_entryTimeout->interval() / 1000.0);
            // A unit that leaves a change unanswered answers no read either: one message says it.
            endReadQuietly(why);
            changeFailed(why);
            detectChangeFailed(why, true);
        });
    });
    connect(m_readSilence, &QTimer::timeout, this, [this] { whenFree([this] { readSilent(); }); });
    connect(m_uploadTimeout, &QTimer::timeout, this, [this] { whenFree([this] { uploadTimedOut(); }); });
    connect(&m_port, &PortLayer::dataAvailable, this, &UnitSession::onDataAvailable);
    connect(&m_port, &PortLayer::lost, this, &UnitSession::lineLost);
}

UnitSession::~UnitSession() = default;

// --- Sending, pauses and receiving

void UnitSession::send(const QByteArray &bytes) {
    try {
        m_port.send(bytes);
    } catch (const PortError &error) {
        // A read whose next command cannot go out has ended; the refused send is the one message.
        if (!m_read.underway())
            throw;
        endReadQuietly(error.text());
        throw PortError(error.text() + QLatin1Char(' ') +
                        tr("The read of the unit stopped there; read it again (Load) when the line works."));
    }
    m_epochs.commandSent();
}

void UnitSession::pauseThen(int milliseconds, std::function<void()> then) {
    m_paused = true;
    m_pauses.after(milliseconds, [this, then = std::move(then)] {
        m_paused = false;
        try {
            then();
        } catch (const PortError &error) {
            fail(error.text());
        }
        process();
    });
}

void UnitSession::whenFree(std::function<void()> action) {
    m_waitingActions.push_back(std::move(action));
    process();
}

void UnitSession::onDataAvailable() {
    m_epochs.bytesWaiting(m_port.bytesAvailable());
    emit dataArrived();
    for (int count = m_port.bytesAvailable(); count > 0; --count) {
        const char byte = m_port.readChar();
        const quint64 epoch = m_epochs.byteRead();
        switch (m_reader.feed(byte)) {
        case LineReader::Event::Prompt:
            m_received.push_back({Received::Kind::Prompt, {}, epoch, false});
            break;
        case LineReader::Event::Cut:
            m_received.push_back({Received::Kind::CutNote, {}, epoch, false});
            break;
        case LineReader::Event::LineEnded: {
            const bool cut = m_reader.completeLineWasCut();
            m_received.push_back({Received::Kind::Line, m_reader.takeLine(), epoch, cut});
            break;
        }
        default:
            break;
        }
    }
    process();
}

// Operations asked for first, then what the unit sent, in order; nothing while a pause lasts.
void UnitSession::process() {
    if (m_processing)
        return;
    m_processing = true;
    const bool busyBefore = longOperationRunning();
    while (!m_paused) {
        try {
            if (!m_waitingActions.empty()) {
                const std::function<void()> action = std::move(m_waitingActions.front());
                m_waitingActions.pop_front();
                action();
                continue;
            }
            if (m_received.empty())
                break;
            const Received item = std::move(m_received.front());
            m_received.pop_front();
            switch (item.kind) {
            case Received::Kind::Prompt:
                if (m_upload.waiting)
                    sendUploadData();
                break;
            case Received::Kind::CutNote:
                emit note(
                    tr("The unit sent a line longer than %1 bytes; it is cut there and the rest of it is "
                       "not kept.")
                        .arg(LineReader::MaxLineLength));
                break;
            case Received::Kind::Line:
                processLine(item.line, item.epoch, item.cut);
                break;
            }
        } catch (const PortError &error) {
            fail(error.text());
        }
    }
    m_processing = false;
    if (busyBefore != longOperationRunning())
        emit busyChanged();
}

void UnitSession::processLine(const QByteArray &line, quint64 epoch, bool cut) {
    if (isLoggedLine(line))
        emit lineReceived(line);
    // No reply is that long: what is left of it is not acted on, and a read it came in cannot be whole.
    if (cut) {
        if (m_read.fail(tr("the unit sent a line longer than %1 bytes").arg(LineReader::MaxLineLength)) ==
            UnitRead::Progress::Failed)
            readFailed();
        return;
    }
    if (showsRunTone(line)) {
        setMode(UnitMode::Running);
        emit runToneSeen();
    }

    const ReplyKind kind = classifyReply(line, m_upload.asendPending);
    bool handled = true;
    switch (kind) {
    case ReplyKind::Ok:
        if (epoch >= m_readEpoch && m_read.finalReply(true, line) == UnitRead::Progress::Complete)
            listingComplete();
        reactToOk(line, epoch);
        break;
    case ReplyKind::StopReport:
        if (reportsLteModule(line))
            m_lteModule = true;
        handled = m_port.dtr();
        if (handled)
            reactToStopReport(line);
        break;
    case ReplyKind::Telit:
        setMode(UnitMode::Programming);
        send(at::operatorName());
        prepareRead();
        break;
    case ReplyKind::SledReport:
        reactToScriptStopped();
        break;
    case ReplyKind::AsendDone:
        send(at::attention());
        m_upload.asendPending = false;
        break;
    case ReplyKind::Creg:
        // The module's network registration: nothing to do, and no reason to hold anything up.
        break;
    case ReplyKind::Battery:
        if (const std::optional<BatteryReading> reading = parseBattery(line)) {
            emit note(QString::fromLatin1(reading->field));
            emit batteryReported(*reading);
        }
        break;
    case ReplyKind::Signal:
        showSignal(line);
        break;
    case ReplyKind::SimSize:
        takeSimSize(line);
        break;
    case ReplyKind::Entry:
        if (m_read.entryLine(line) == UnitRead::Taken::Malformed)
            readFailed();
        break;
    case ReplyKind::Operator:
        takeOperator(line);
        break;
    case ReplyKind::Cops:
        setMode(UnitMode::Running);
        break;
    case ReplyKind::Other:
        handled = isErrorReply(line);
        if (handled)
            reactToRefusal(line, epoch);
        break;
    }
    // A read is alive while its lines come; noise on the line does not keep it waiting.
    if (m_read.underway() && kind != ReplyKind::Other)
        m_readSilence->start();
    if (handled)
        emit replyHandled(kind, line);
}

void UnitSession::reactToOk(const QByteArray &, quint64 epoch) {
    detectChangeStored();
    // An "OK" that arrived before the write's current command went out answers an earlier command.
    const bool answersWriteCommand = writing() && epoch >= m_writeCommandEpoch;
    const OkFlags flags{m_refreshAfterOk, m_upload.waiting, m_upload.asendPending,
                        m_ate0Sent,       m_lteModule,      answersWriteCommand};
    // Each action after the one before it, pauses included.
    for (const OkAction action : dispatchOk(flags)) {
        whenFree([this, action] {
            switch (action) {
            case OkAction::StartRefreshRead:
                m_refreshAfterOk = false;
                m_entryTimeout->stop();
                // A read already under way shows the unit as it is now; a second chain would cut it off.
                if (m_read.underway())
                    break;
                prepareRead();
                pauseThen(200, [this] {
                    send(at::operatorName());
                    startReadChain();
                });
                break;
            case OkAction::AdvanceUpload:
                advanceUpload();
                break;
            case OkAction::FinishLteStop:
                m_ate0Sent = false;
                pauseThen(200, [this] {
                    emit note(QStringLiteral("----------------------2"));
                    send(at::operatorName());
                    startReadChain();
                    emit note(QStringLiteral(">AT#SPN"));
                });
                break;
            case OkAction::AdvanceWrite:
                advanceWrite();
                break;
            }
        });
    }
}

void UnitSession::reactToRefusal(const QByteArray &line, quint64 epoch) {
    const QString why = tr("the unit answered %1").arg(quoted(line));
    // The detect switch goes out before the read that follows it, so its answer comes first.
    if (m_detectChangePending) {
        detectChangeFailed(why, true);
        return;
    }
    if (epoch >= m_readEpoch && m_read.finalReply(false, line) == UnitRead::Progress::Failed)
        readFailed();
    // A refused write or upload step would otherwise leave its sequence waiting for good.
    if (writing())
        writeRefused(line, epoch);
    else if (m_upload.waiting)
        failUploadStep(line);
    else if (m_refreshAfterOk)
        changeFailed(why);
}

// "STOP", or the LTE module's "#APLAYEV:" event, with DTR raised: the script has stopped.
void UnitSession::reactToStopReport(const QByteArray &) {
    setMode(UnitMode::Programming);
    emit note(QStringLiteral("----------------------1"));
    send(at::echoOff());
    emit note(QStringLiteral(">ATE0"));
    m_ate0Sent = true;
    emit note(QStringLiteral("ATE0=-1"));
    emit note(m_lteModule ? QStringLiteral("LTE=-1") : QStringLiteral("LTE=0"));
    pauseThen(1000, [] {});
}

// "[AT#SLED=1]=": the script has let go of the module; it takes commands now.
void UnitSession::reactToScriptStopped() {
    setMode(UnitMode::Programming);
    pauseThen(1000, [this] {
        send(at::echoOffOperatorName());
        startReadChain();
        m_ate0Sent = false;
    });
}

void UnitSession::showSignal(const QByteArray &line) {
    const std::optional<int> level = parseSignalLevel(line);
    if (!level)
        return;
    m_signalLevel = *level;
    // A unit that answers the signal query after echo-off while it ran or was waited for is running.
    const bool confirmsRunning = m_mode != UnitMode::Programming && m_ate0Sent;
    if (confirmsRunning)
        setMode(UnitMode::Running);
    emit signalReported(*level, confirmsRunning);
}

void UnitSession::setMode(UnitMode mode) {
    if (m_mode == mode)
        return;
    m_mode = mode;
    emit modeChanged(mode);
}

// --- Operations

bool UnitSession::start() {
    try {
        send(at::echoOff());
    } catch (const PortError &error) {
        fail(error.text());
        return false;
    }
    pauseThen(200, [this] { send(at::identify()); });
    return true;
}

void UnitSession::stop() {
    whenFree([this] {
        m_port.setDtr(true);
        setMode(UnitMode::Waiting);
    });
}

void UnitSession::run() {
    whenFree([this] {
        // The running script may change the SIM (by SMS, for example).
        m_configuration.markListingStale(tr("the unit's script has run since the last read"));
        m_port.setDtr(false);
        setMode(UnitMode::Waiting);
        pauseThen(1000, [this] {
            if (!m_lteModule)
                send(at::reboot());
        });
    });
}

void UnitSession::read() {
    whenFree([this] {
        if (m_mode == UnitMode::Waiting) {
            // Whether the module takes commands: "Telit" then starts a read.
            send(at::identify());
            setMode(UnitMode::Running);
            return;
        }
        if (m_mode == UnitMode::Programming) {
            send(at::operatorName());
            prepareRead();
        }
    });
}

void UnitSession::askSignal() {
    whenFree([this] { send(at::signalQuality()); });
}

void UnitSession::askSerialNumber() {
    whenFree([this] { send(at::serialNumber()); });
}

void UnitSession::selectDefaultScript() {
    whenFree([this] { send(at::selectDefaultScript()); });
}

void UnitSession::cancel() {
    whenFree([this] {
        if (writing()) {
            m_writeCancelled = true;
            emit note(tr("Cancel: the write stops once the unit has answered its command in flight."));
        } else if (m_upload.running) {
            m_upload.cancelled = true;
            emit note(tr("Cancel: the upload stops once the module has finished the step in flight."));
        } else if (m_read.underway()) {
            const int entries = m_read.entriesSoFar();
            endReadQuietly(tr("the read was cancelled"));
            const QString message =
                tr("The read was cancelled after %1 entries; the window still shows what it "
                   "showed before. Read the unit (Load) before changing entries or writing.")
                    .arg(entries);
            emit note(message);
            fail(message);
        }
    });
}

void UnitSession::lineLost(const QString &message) {
    emit note(message);
    // Nothing waits any more for a reply that cannot come; the loss is the one message.
    m_epochs.reset();
    endReadQuietly(tr("the line to the unit was lost"));
    // Unplugged, the cable may next lead to another unit.
    m_configuration.blockWholeWrite(tr("the line to the unit was lost since the last read"));
    m_refreshAfterOk = false;
    m_entryTimeout->stop();
    detectChangeFailed(message, false);
    if (m_upload.running)
        uploadLost(message);
    else if (writing())
        failWrite(message);
    else
        fail(message);
    emit busyChanged();
}

std::optional<QString> UnitSession::whyBusy() const {
    if (writing())
        return tr("a write to the unit is under way");
    if (m_upload.running)
        return tr("an upload to the unit is under way");
    if (m_read.underway())
        return tr("the unit is being read");
    if (m_entryTimeout->isActive())
        return tr("a change waits for the unit's answer");
    return std::nullopt;
}

bool UnitSession::changeAwaited() const {
    return m_entryTimeout->isActive() || m_detectChangePending;
}

// --- The read chain

// The read chain's first command has gone out (or goes out next, after a pause): replies that arrived
// before it are not the read's.
void UnitSession::startReadChain() {
    m_read.startChain();
    m_readEpoch = m_epochs.commandsSent();
    m_readSilence->start();
}

void UnitSession::prepareRead() {
    startReadChain();
    emit started(UnitOperation::Read);
}

void UnitSession::takeOperator(const QByteArray &line) {
    emit operatorNamed(operatorText(line));
    // Only a read asks for the SIM's size; the operator's name alone changes nothing else.
    if (m_read.phase() != UnitRead::Phase::Operator)
        return;
    pauseThen(200, [this] {
        const bool asksSize = m_port.portNumber() != 0 && m_port.dtr();
        if (asksSize)
            send(at::phoneBookRange());
        m_read.operatorShown(asksSize);
        if (!asksSize)
            readEndedWithoutListing();
    });
}

void UnitSession::takeSimSize(const QByteArray &line) {
    switch (m_read.sizeLine(line)) {
    case UnitRead::Taken::Ignored:
        return; // not asked for: logged, and nothing changes
    case UnitRead::Taken::Malformed:
        readFailed();
        return;
    case UnitRead::Taken::Taken:
        break;
    }
    const SimGeometry sim = *m_read.geometry();
    m_simSize = sim.size;
    emit simSizeReported(sim.size);
    if (!simSizeReadsEntries(sim.size)) {
        m_read.endWithoutListing();
        readEndedWithoutListing();
        return;
    }
    pauseThen(100, [this, sim] {
        if (m_port.portNumber() == 0) {
            m_read.endWithoutListing();
            readEndedWithoutListing();
            return;
        }
        send(at::readEntries(sim.size));
        // The size query's own "OK" is still to come, then the listing's.
        m_read.listingAsked(sim, 2);
        m_readEpoch = m_epochs.commandsSent() - 1;
        m_readSilence->start();
        emit progress(UnitOperation::Read, 0, sim.size);
    });
}

// The listing is whole: the configuration shows it, and nothing from before it.
void UnitSession::listingComplete() {
    m_readSilence->stop();
    const Listing listing = m_read.takeListing();
    m_simSize = listing.sim.size;
    m_configuration.applyListing(listing);
    if (std::exchange(m_readBackPending, false))
        emit finished(UnitOperation::WholeWrite, writeOutcome(int(listing.entries.size())));
    else
        emit finished(UnitOperation::Read, readOutcome(int(listing.entries.size())));
}

// The read ended without its listing: said once; the configuration keeps what it held, and nothing that
// addresses an index goes out until a whole read.
void UnitSession::readFailed() {
    m_readSilence->stop();
    m_readBackPending = false;
    const QString what = describeFailedRead(m_read);
    m_configuration.blockWholeWrite(what);
    emit stopped(UnitOperation::Read);
    fail(tr("The unit was not read completely: %1. The window still shows what it showed before; nothing is "
            "written to or deleted from the unit until it has been read whole. Check the cable and the unit, "
            "then read it again (Load).")
             .arg(what));
}

// The chain ended as the protocol has it (the script still runs, or the SIM is too small to list).
void UnitSession::readEndedWithoutListing() {
    m_readSilence->stop();
    const std::optional<SimGeometry> &sim = m_read.geometry();
    const std::optional<Listing> &listing = m_configuration.listing();
    if (sim && listing && sim->size != listing->sim.size)
        m_configuration.blockWholeWrite(
            tr("the unit now reports a SIM of %1 entries, which was not listed").arg(sim->size));
    else
        m_configuration.markListingStale(tr("the last read of the unit did not list its SIM"));
    emit stopped(UnitOperation::Read);
}

// Another message already says what went wrong; the read only must not wait any longer.
void UnitSession::endReadQuietly(const QString &why) {
    if (m_read.fail(why) != UnitRead::Progress::Failed)
        return;
    m_readSilence->stop();
    m_configuration.blockWholeWrite(describeFailedRead(m_read));
    emit stopped(UnitOperation::Read);
}

void UnitSession::readSilent() {
    if (m_read.fail(tr("the unit sent nothing for %1 s").arg(ReadSilenceMs / 1000)) ==
        UnitRead::Progress::Failed)
        readFailed();
}

bool UnitSession::mayAddress(const QByteArray &node) {
    if (const std::optional<QString> busy = whyBusy()) {
        fail(tr("Nothing was sent: %1. Try again when it has finished.").arg(*busy));
        return false;
    }
    const QByteArray indexText = nodeIndex(node);
    const std::optional<int> index = parseDecimal(indexText);
    const std::optional<Listing> &listing = m_configuration.listing();
    const ReadEntry *listed = listing && index ? listing->entryAt(*index) : nullptr;
    QString why = m_configuration.listingStale();
    if (why.isEmpty() && (!listed || nodeText(listed->indexText, listed->name, listed->number) != node))
        why = tr("the last read of the unit does not list %1 at SIM index %2")
                  .arg(m_codePage.decode(nodeName(node)), QString::fromLatin1(indexText));
    if (why.isEmpty())
        return true;
    fail(tr("Nothing was sent: %1, so SIM index %2 may hold another entry now. Read the unit (Load) and try "
            "again.")
             .arg(why, QString::fromLatin1(indexText)));
    return false;
}

} // namespace oxa
