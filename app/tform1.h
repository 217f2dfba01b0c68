#pragma once

#include "codepagecodec.h"
#include "dialoguestate.h"
#include "logclock.h"
#include "seams.h"
#include "unitread.h"
#include "upload_state.h"

#include <QHash>
#include <QMainWindow>
#include <functional>
#include <memory>

class QLabel;
class QShortcut;
class QTimer;

namespace oxa {

class Monitor;
class PortLayer;
class WriteSequence;

// The main window: owns every control, the two timers and the working state of the dialogue with the
// unit. Handlers keep their established names; their bodies live in the tform1_*.cpp file of their
// subsystem.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // `executablePath` brands the window and names its settings file.
    TForm1(const Seams &seams, const QString &executablePath, QWidget *parent = nullptr);
    ~TForm1() override;

    // A control by its component name; nullptr when there is none.
    QObject *control(const QString &name) const { return m_controls.value(name); }
    template <class T> T *ctl(const char *name) const {
        return qobject_cast<T *>(control(QLatin1String(name)));
    }

    // Runs the start-up sequence (before the window is first shown).
    void start() {
        runHandler([this] { FormCreate(); });
    }

    QString panelText(int index) const;
    void setPanelText(int index, const QString &text);

    // The settings file saved at closing, with the backups folder beside it; and the one read at start-up,
    // which differs while the file beside the program cannot be saved and has no copy of the user's yet.
    QString settingsPath() const { return m_settingsPath; }
    QString settingsReadPath() const { return m_settingsReadPath; }
    QString deviceName() const { return m_deviceName; }
    QString languageName() const { return m_languageName; }
    int uploadPause() const { return m_uploadPause; }
    Monitor *monitor() const { return m_monitor; }
    // The code page of the unit's texts, the configuration files and the monitor (settings file, or the
    // user's language): bytes show as its characters, and the window's texts go back as its bytes.
    const CodePageCodec &codePage() const { return m_codePage; }
    QString shownText(QByteArrayView bytes) const { return m_codePage.decode(bytes); }
    // Throws UnencodableText (which ends the handler with its message) for a character the code page
    // cannot hold; the controls refuse such characters as they are typed.
    QByteArray unitBytes(const QString &text) const;
    // True while a handler runs; received data and timer ticks wait until it has finished.
    bool handlerRunning() const { return m_handlerDepth > 0; }

    // The dialogue's flags, counters and held strings.
    DialogueState state;
    // The upload in progress: its list, its reply timer.
    UploadSession upload;

    // Pieces every subsystem's handlers use.
    PortLayer *port() const { return m_seams.port; }
    const Seams &seams() const { return m_seams; }
    // Sends through the port; a failure throws PortError, which ends the running handler.
    void send(const QByteArray &bytes);
    void pause(int milliseconds);
    void log(const QString &line);
    void report(const QString &message);
    // Shows one of DeviceRun, DeviceStop, DeviceNic and hides the other two.
    void showStatus(const char *pictureName);
    // Traffic on the line: the indicator blinks, and goes out ReceiveIndicatorHoldMs after the last of it.
    void blinkLineIndicator();
    static constexpr int ReceiveIndicatorHoldMs = 2000;
    // Runs a handler: exceptions end it and go to the error report; data and timer ticks that
    // arrive meanwhile (during a pause or a dialog) are delivered after it, in order.
    void runHandler(const std::function<void()> &handler);

    // Across subsystems: what the receive parser and the device sequences hand over.
    // Settings pages and parameter strings
    void DecodeParameters();
    void EncodeParameters();
    // Phone-book grid, as (name, number) byte pairs. Cleared, it shows one empty row, which the first
    // row appended replaces; phoneBookRows() gives every row shown, that empty one included.
    void clearPhoneBook();
    // Tints the grid cells the next whole write could not store (all rows, or one).
    void markUnwritableCells();
    void markUnwritableCells(int row);
    void appendPhoneBookRow(const QByteArray &name, const QByteArray &number);
    QList<std::pair<QByteArray, QByteArray>> phoneBookRows() const;
    // Tagged entries of a read: node texts of the five trees and the detect entry
    void decodeTaggedEntry(const QByteArray &index, const QByteArray &number, const QByteArray &name);
    void clearTrees();
    // A whole listing of the unit's SIM replaces everything the window showed of the unit: grid rows,
    // trees, key boxes, detect box, parameter strings it holds.
    void applyListing(const Listing &listing);
    // Whether a command may address the SIM index of `node` (a tree node's or the detect entry's text):
    // only when no device operation runs and the last whole listing is current and lists exactly that
    // entry at that index. Otherwise one message says why and asks for a read.
    bool mayAddress(const QByteArray &node);
    // Escape or the Cancel button: the long operation under way stops after its command in flight and
    // says what the unit holds.
    void cancelOperation();
    // A write, an upload or a read under way, as a clause; nullopt when the unit is free.
    std::optional<QString> whyDeviceBusy() const;
    // From now on the window's indexes may not match the unit: nothing addresses them until a whole read.
    void markListingStale(const QString &why);
    // ... and no whole write starts either until a whole read.
    void blockWholeWrite(const QString &why);
    // Upload: the module's prompt arrived / the step's "OK" arrived
    void sendUploadData();
    void advanceUpload();
    // Upload: the module refused the step ("ERROR", "+CME ERROR: ...")
    void uploadStepFailed(const QByteArray &reply);
    // Device sequences
    void PrepareRead();
    // A single-entry change went out: its "OK" starts the re-read; a refusal, no reply or a lost
    // line ends it with one message instead.
    void awaitChangeReply();
    void changeFailed(const QString &why);
    // The detect box's change: stored once its "OK" comes; otherwise the box shows what it showed
    // before, with one message (none when the lost line has said it already).
    void detectChangeStored();
    void detectChangeFailed(const QString &why, bool tellUser);
    // Shows the unit's detect setting in the detect box without acting on it.
    void showDetectSetting(bool on);

public slots:
    // Application shell
    void FormCreate();
    void FormClose();
    // Serial line and monitor
    void SaveMonitorClick();
    void LedTimerTimer();
    void ApdComPort1TriggerAvail(int count);
    // Device operations
    void RunOXAClick();
    void StopOXAClick();
    void SaveOXAClick();
    void LoadOXAClick();
    void signalClick();
    void InicializaceClick();
    void IMEIClick();
    void CekaniTimer();
    // Upload
    void LoadListClick();
    void ClrListClick();
    void UpgradeClick();
    // Configuration file
    void SaveClick();
    void LoadClick();
    // Settings pages
    void AABUTTONChange(int row);
    void ABUTTONChange(int row);
    void BBUTTONChange(int row);
    void ADMINChange(int row);
    void RelCode1Change();
    void RelCode2Change();
    void RelTime1Change();
    void RelTime2Change();
    void RelCam1Click();
    void RelCam2Click();
    void RelLi1Click();
    void RelLi2Click();
    void RelBut1Click();
    void RelBut2Click();
    void RelSMS1Click();
    void RelSMS2Click();
    void RelRing1Click();
    void RelRing2Click();
    void RelRingAll1Click();
    void RelRingAll2Click();
    void SIMCallClick();
    void AllCallClick();
    // Phone book page
    void LineInClick();
    void LineDelClick();
    void FindClick();
    // The grid's Down key on its last row (Insert and Ctrl+Delete act as the two buttons).
    void appendLineBelowLast();
    // Memory trees and editors
    void TreeButtonsAddition();
    void TreeButtonsClick();
    void TreeButtonsSelAddition();
    void TreeButtonsSelClick();
    void PosButtonChange();
    void ButtonChange();
    void ButtonPNumberChange();
    void AddButtonClick();
    void WriteButtonClick();
    void DelButtonSelClick();
    void DelButtonClick();
    void TreeMemoAddition();
    void TreeMemoClick();
    void TreeMemoSelAddition();
    void TreeMemoSelClick();
    void PosMemoChange();
    void MemoChange();
    void MemoPNumberChange();
    void AddMemoClick();
    void WriteMemoClick();
    void DelMemoSelClick();
    void DelMemoClick();
    void TreeCodeAddition();
    void DelCodeClick();
    void AddCodeClick();
    void DetButClick();
    // Access-code modes
    void OnClickCode();
    void CodeMChange(int mode);
    void WriteCodeClick(int mode);

signals:
    // The port named by the settings file, for the port choice to preselect.
    void portPreferenceRead(const QString &port);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void registerControls();
    void bindHandlers();
    void runDeferred();
    void onDataAvailable();
    // A timer tick: handled now, or after the running handler has finished.
    void deliverTick(const std::function<void()> &handler);
    void updateAccessibleNames();
    // The receive parser: one complete line, then the reply it is.
    // `cut`: the line was longer than any reply and holds only its beginning.
    void processLine(const QByteArray &line, quint64 epoch, bool cut);
    void reactToOk(quint64 epoch);
    void reactToStopReport(const QByteArray &line);
    void reactToScriptStopped();
    void showBattery(const QByteArray &line);
    void showSignal(const QByteArray &line);
    void takeSimSize(const QByteArray &line);
    void showOperator(const QByteArray &line);
    // The read chain and its listing
    void startReadChain();
    void listingComplete();
    // `repeatsKey`: a key box or parameter string listed before; the entry is shown as a phone-book row.
    void showListedEntry(const ReadEntry &entry, bool repeatsKey);
    void readFailed();
    void readEndedWithoutListing();
    void readSilent();
    void endReadQuietly(const QString &why);
    // The whole-device write
    enum class WriteRefusalOf { CurrentCommand, PreviousCommand };
    void advanceWrite();
    void writeRefused(const QByteArray &line, quint64 epoch);
    void failWrite(const QString &why, WriteRefusalOf which = WriteRefusalOf::CurrentCommand);
    bool keepBackupOfLastRead();
    bool uploadRefuses(const char *what);
    void endCancelledWrite();
    void updateCancelButton();
    void setControlsLocked(bool locked);

    Seams m_seams;
    QString m_executablePath;
    QString m_settingsPath;
    QString m_settingsReadPath;
    // The settings file was there at start-up but could not be read: closing leaves it alone.
    bool m_settingsUnreadable = false;
    QString m_deviceName = QStringLiteral("OXA");
    QString m_languageName = QStringLiteral("Eng");
    int m_uploadPause = 1000;
    QString m_preferredPort;
    QHash<QString, QObject *> m_controls;
    QList<QLabel *> m_panels;
    Monitor *m_monitor = nullptr;
    CodePageCodec m_codePage;
    LogClock m_logClock;
    QTimer *m_cekani = nullptr;
    QTimer *m_ledTimer = nullptr;
    QTimer *m_writeTimeout = nullptr;
    QTimer *m_entryTimeout = nullptr;
    QTimer *m_readSilence = nullptr;
    QShortcut *m_cancelShortcut = nullptr;
    std::unique_ptr<WriteSequence> m_write;
    int m_handlerDepth = 0;
    bool m_dataDeferred = false;
    QList<std::function<void()>> m_deferred;
    bool m_closePending = false;
    bool m_closed = false;
};

} // namespace oxa
