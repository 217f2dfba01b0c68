#pragma once

#include "codepagecodec.h"
#include "linereader.h"
#include "pausetimer.h"
#include "replies.h"
#include "replyepochs.h"
#include "unitread.h"
#include "uploadlist.h"
#include "writeplan.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <memory>
#include <optional>

class QTimer;

namespace oxa {

class PortLayer;
class UnitConfiguration;

// What the unit is doing, as far as the program knows.
enum class UnitMode {
    Running,     // its script runs
    Programming, // the script is stopped and the module takes commands
    Waiting,     // Run or Stop was asked for and the unit has not said yet that it did
};

// The long operations, for progress and outcome.
enum class UnitOperation { Read, WholeWrite, ChangeWrite, Upload };

// Questions the session asks the user; it never opens a dialog itself.
class SessionQuestions {
public:
    virtual ~SessionQuestions() = default;
    virtual bool confirm(const QString &question) = 0;
};

// The dialogue with one unit on one port: the line reader and the reply table, the read chain, the
// whole and the change-only write, single-entry changes and the detect switch, the upload, and the
// stop and run handshakes, each with its time-outs. It fills the configuration from a whole listing,
// writes from it, and reports through signals. The protocol's fixed pauses are states of the session,
// not nested event loops: what the unit sends meanwhile waits until the pause is over, and so does an
// operation asked for meanwhile. Exactly one command is outstanding at a time.
class UnitSession : public QObject {
    Q_OBJECT
public:
    UnitSession(PortLayer &port, UnitConfiguration &configuration, PauseTimer &pauses,
                SessionQuestions &questions, QObject *parent = nullptr);
    ~UnitSession() override;

    PortLayer &port() const { return m_port; }
    UnitConfiguration &configuration() const { return m_configuration; }

    // Settings the program reads from its settings file.
    void setUploadPause(int milliseconds) { m_uploadPause = milliseconds; }
    void setBackupFolder(const QString &folder) { m_backupFolder = folder; }
    // Entries and lines quoted in messages are shown in this code page.
    void setCodePage(const CodePageCodec &codec) { m_codePage = codec; }

    // --- Operations. Each one that cannot run now says why through failed() and sends nothing.
    // Start-up: echo off, a pause, then the identification that tells whether the module takes
    // commands. False when the port could not be opened (the rest of the start is left out).
    bool start();
    // Stop: DTR raised; the unit's stop report starts programming mode and a read.
    void stop();
    // Run: DTR lowered, then (classic module) a restart of the module.
    void run();
    // Load: in programming mode a read; while waiting, the identification probe.
    void read();
    // The whole write of the configuration, then its read-back. `keyValues` are the 27 values in
    // write order, `rows` the phone-book rows.
    void writeWhole(const QList<QByteArray> &keyValues, const QList<WriteRow> &rows);
    // A memory, button or code entry: a rewrite of `addressedNode`'s index, or a new entry when
    // nullopt. `command` is the line to send. A re-read follows the unit's "OK".
    void writeEntry(const QByteArray &command, const std::optional<QByteArray> &addressedNode);
    // Deletes the entry of `node` (a tree node's text); without a node nothing goes out and the next
    // "OK" reads the unit again.
    void deleteEntry(const std::optional<QByteArray> &node);
    // The detect switch; the read that follows shows what the unit holds. False when it was not sent
    // (the box should show the unit's setting again).
    bool switchDetect(bool on);
    // The upload list's steps, relative names taken from `listFolder` (empty: the current folder).
    void upload(const QStringList &lines, const QString &listFolder);
    // Stops the long operation under way once its command in flight is answered.
    void cancel();
    void askSignal();
    void askSerialNumber();
    void selectDefaultScript();
    // The line went away: nothing waits for a reply that cannot come; one message says what it stopped.
    void lineLost(const QString &message);

    // --- State.
    UnitMode mode() const { return m_mode; }
    bool lteModule() const { return m_lteModule; }
    int simSize() const { return m_simSize; }
    const UnitRead &readState() const { return m_read; }
    bool reading() const { return m_read.underway(); }
    bool writing() const { return m_write != nullptr; }
    bool uploading() const { return m_upload.running; }
    bool changeAwaited() const;
    // A long operation runs (or the session waits for the unit's Run or Stop report).
    bool longOperationRunning() const { return reading() || writing() || uploading(); }
    // A write, an upload, a read or a change under way, as a clause; nullopt when the unit is free.
    std::optional<QString> whyBusy() const;
    // Whether a command may address the index of `node`; otherwise says why through failed().
    bool mayAddress(const QByteArray &node);
    const QString &lastBackup() const { return m_lastBackup; }
    // The write's step and the next SIM index it fills (0 when no write runs).
    int writeStep() const { return m_write ? m_write->writeStep() : 0; }
    int simWriteIndex() const { return m_write ? m_write->simWriteIndex() : 0; }
    // A change went out and its "OK" starts a re-read (also raised by a delete that sent nothing).
    bool refreshAwaited() const { return m_refreshAfterOk; }
    bool detectChangePending() const { return m_detectChangePending; }
    int uploadIndex() const { return m_upload.index; }
    bool uploadStepWaiting() const { return m_upload.waiting; }
    bool asendPending() const { return m_upload.asendPending; }
    // The bytes of the upload step's file, read for the step under way.
    qsizetype uploadDataSize() const { return m_upload.data.size(); }
    // The received line being assembled (bounded by LineReader::MaxLineLength).
    qsizetype partialLineSize() const { return m_reader.partial().size(); }

    // Time-outs (tests shorten them).
    QTimer *writeTimeout() const { return m_writeTimeout; }
    QTimer *entryTimeout() const { return m_entryTimeout; }
    QTimer *readSilence() const { return m_readSilence; }
    QTimer *uploadTimeout() const { return m_uploadTimeout; }

signals:
    // Received bytes arrived (the receive indicator).
    void dataArrived();
    // A received line, as the monitor shows it (lines with "#SMSATWL" are not shown).
    void lineReceived(const QByteArray &line);
    // A line of the session's own for the monitor ("SIM3", "----------------------1", a backup's name).
    void note(const QString &text);
    // A reply the session acted on, after it did: the window's displays follow it.
    void replyHandled(ReplyKind kind, const QByteArray &line);
    // "AT#tone=i,4]" was seen: the script runs.
    void runToneSeen();
    void modeChanged(UnitMode mode);
    void operatorNamed(const QByteArray &name);
    void simSizeReported(int size);
    void batteryReported(const BatteryReading &reading);
    // The signal level; `confirmsRunning` when it showed that the unit's script runs.
    void signalReported(int level, bool confirmsRunning);
    // A long operation's progress and its end.
    void progress(UnitOperation operation, int done, int total);
    void started(UnitOperation operation);
    void finished(UnitOperation operation, const QString &outcome);
    void stopped(UnitOperation operation);
    // Something the user must hear of: one message for one event.
    void failed(const QString &message);
    // The detect switch was refused or not answered: the box shows this again.
    void detectRestored(bool on);
    // The session's busy state changed (a sequence started or ended).
    void busyChanged();

private:
    // One received item in order: a complete line, or a prompt that needs no line end.
    struct Received {
        enum class Kind { Line, Prompt, CutNote } kind = Kind::Line;
        QByteArray line;
        quint64 epoch = 0;
        bool cut = false;
    };

    // Sending; a refused send during a read ends that read.
    void send(const QByteArray &bytes);
    // Runs `then` after `milliseconds`; meanwhile received items and asked operations wait.
    void pauseThen(int milliseconds, std::function<void()> then);
    // Runs `action` now, or once the pause under way is over.
    void whenFree(std::function<void()> action);
    void onDataAvailable();
    void process();
    void processLine(const QByteArray &line, quint64 epoch, bool cut);
    void reactToOk(const QByteArray &line, quint64 epoch);
    void reactToRefusal(const QByteArray &line, quint64 epoch);
    void reactToStopReport(const QByteArray &line);
    void reactToScriptStopped();
    void showSignal(const QByteArray &line);
    void setMode(UnitMode mode);
    void fail(const QString &message) { emit failed(message); }

    // The read chain (unitsession.cpp)
    void startReadChain();
    void prepareRead();
    void takeSimSize(const QByteArray &line);
    void takeOperator(const QByteArray &line);
    void listingComplete();
    void readFailed();
    void readEndedWithoutListing();
    void endReadQuietly(const QString &why);
    void readSilent();

    // The whole write (unitsession_write.cpp)
    enum class RefusalOf { CurrentCommand, PreviousCommand };
    void advanceWrite();
    void writeRefused(const QByteArray &line, quint64 epoch);
    void failWrite(const QString &why, RefusalOf which = RefusalOf::CurrentCommand);
    void endCancelledWrite();
    bool keepBackupOfLastRead();

    // Single-entry changes (unitsession_entries.cpp)
    void awaitChangeReply();
    void changeFailed(const QString &why);
    void detectChangeStored();
    void detectChangeFailed(const QString &why, bool tellUser);
    bool maySendChange(const std::optional<QByteArray> &node);

    // The upload (unitsession_upload.cpp)
    void runUploadStep();
    void sendUploadData();
    void sendUploadPieces(QList<QByteArray> pieces, int next, int idleWaits, int lastFree);
    void advanceUpload();
    void failUploadStep(const QByteArray &reply);
    void uploadTimedOut();
    void uploadLost(const QString &loss);
    void endUpload();
    void stopUpload(const QString &message);
    QString uploadLineName(int index) const;

    PortLayer &m_port;
    UnitConfiguration &m_configuration;
    PauseTimer &m_pauses;
    SessionQuestions &m_questions;

    // Receiving
    LineReader m_reader;
    ReplyEpochs m_epochs;
    std::deque<Received> m_received;
    bool m_paused = false;
    bool m_processing = false;
    std::deque<std::function<void()>> m_waitingActions;

    // The dialogue's flags
    UnitMode m_mode = UnitMode::Running;
    int m_simSize = 0;
    int m_signalLevel = 0;
    bool m_ate0Sent = false;
    bool m_lteModule = false;
    bool m_refreshAfterOk = false;

    // The read
    UnitRead m_read;
    quint64 m_readEpoch = 0;

    // The whole write
    std::unique_ptr<WriteSequence> m_write;
    bool m_writeCancelled = false;
    quint64 m_writeCommandEpoch = 0;
    QString m_lastBackup;
    QString m_backupFolder;
    bool m_readBackPending = false;
    CodePageCodec m_codePage;

    // Single-entry changes
    bool m_detectChangePending = false;
    bool m_detectBoxBefore = false;

    // The upload
    struct Upload {
        QStringList lines;
        QString listFolder;
        int index = 0;
        bool running = false;
        bool waiting = false;      // a step's command went out and waits for the module
        bool asendPending = false; // an "ASEND:" step waits for its completion event
        bool promptExpected = false;
        bool stepSent = false;
        bool cancelled = false;
        QByteArray data;
    } m_upload;
    int m_uploadPause = 1000;

    QTimer *m_writeTimeout = nullptr;
    QTimer *m_entryTimeout = nullptr;
    QTimer *m_readSilence = nullptr;
    QTimer *m_uploadTimeout = nullptr;
};

} // namespace oxa
