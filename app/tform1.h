#pragma once

#include "codepagecodec.h"
#include "dialoguestate.h"
#include "logclock.h"
#include "seams.h"
#include "unitconfiguration.h"
#include "unitsession.h"
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

// The main window: shows the unit's configuration (the model) and what the session with the unit does,
// and forwards the user's actions to them.
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
    // True while a handler runs (a dialog of it may be open).
    bool handlerRunning() const { return m_handlerDepth > 0; }

    // What the window shows of the unit, and the dialogue with it.
    UnitConfiguration &configuration() { return m_configuration; }
    const UnitConfiguration &configuration() const { return m_configuration; }
    UnitSession &session() { return *m_session; }
    const UnitSession &session() const { return *m_session; }
    // The window's own state: the memories selected in the trees.
    DialogueState state;
    // The upload list's folder (relative names in it are taken from there).
    UploadSession upload;

    PortLayer *port() const { return m_seams.port; }
    const Seams &seams() const { return m_seams; }
    void log(const QString &line);
    void report(const QString &message);
    // Shows one of DeviceRun, DeviceStop, DeviceNic and hides the other two.
    void showStatus(const char *pictureName);
    // Traffic on the line: the indicator blinks, and goes out ReceiveIndicatorHoldMs after the last of it.
    void blinkLineIndicator();
    static constexpr int ReceiveIndicatorHoldMs = 2000;
    // Runs a handler: exceptions end it and go to the error report.
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
    // Escape or the Cancel button: the long operation under way stops after its command in flight and
    // says what the unit holds.
    void cancelOperation();
    // Shows the unit's detect setting in the detect box without acting on it.
    void showDetectSetting(bool on);

public slots:
    // Application shell
    void FormCreate();
    void FormClose();
    // Serial line and monitor
    void SaveMonitorClick();
    void LedTimerTimer();
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
    void connectSession();
    void connectConfiguration();
    void updateAccessibleNames();
    // What the window shows of the session's replies, operations and the configuration.
    void showReply(ReplyKind kind, const QByteArray &line);
    void showMode(UnitMode mode);
    void showBattery(const BatteryReading &reading);
    void showSignal(int level, bool confirmsRunning);
    void showListing(const QList<ReadEntry> &repeatedKeys);
    void showKeyValue(int key);
    void showRows();
    void operationStarted(UnitOperation operation);
    void operationProgress(UnitOperation operation, int done, int total);
    void operationStopped(UnitOperation operation);
    void operationFinished(UnitOperation operation, const QString &outcome);
    void logReceivedLine(const QByteArray &line);
    bool uploadRefuses(const char *what);
    void updateCancelButton();
    void setControlsLocked(bool locked);
    void lockDeviceButtons(bool locked);
    // The grid's rows into the configuration (after the user edited the grid).
    void storeRows();

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
    QShortcut *m_cancelShortcut = nullptr;
    UnitConfiguration m_configuration;
    std::unique_ptr<SessionQuestions> m_questions;
    UnitSession *m_session = nullptr;
    // The device buttons' enabled states before an upload locked them.
    QList<std::pair<const char *, bool>> m_lockedForUpload;
    // The window is filling the grid from the configuration: its change signals are not the user's.
    bool m_showingRows = false;
    int m_handlerDepth = 0;
    bool m_closePending = false;
    bool m_closed = false;
};

} // namespace oxa
