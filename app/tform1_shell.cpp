// Start-up, shutdown, the monitor page and the receive indicator.
#include "tform1.h"

#include "branding.h"
#include "codepagechoice.h"
#include "formsettings.h"
#include "inifile.h"
#include "monitor.h"
#include "savefilename.h"
#include "settingsfiles.h"
#include "texts.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>

namespace oxa {

namespace {

const QString FormSection = QStringLiteral("Form");
const QString LanguageSection = QStringLiteral("Language");
const QString CodePageSection = QStringLiteral("CodePage");

// The area each screen leaves to windows, the primary screen's first.
QList<QRect> screenAreas() {
    QList<QRect> areas;
    if (const QScreen *primary = QGuiApplication::primaryScreen())
        areas << primary->availableGeometry();
    for (const QScreen *screen : QGuiApplication::screens())
        if (screen != QGuiApplication::primaryScreen())
            areas << screen->availableGeometry();
    return areas;
}

} // namespace

void TForm1::FormCreate() {
    // 1. Branding by the name the program was started by.
    const Branding branding = brandingFor(QFileInfo(m_executablePath).fileName());
    m_deviceName = branding.deviceName;
    auto *modules = ctl<QTabWidget>("OXAtyp");
    modules->setTabVisible(modules->indexOf(ctl<QWidget>("ModuleButtons")), branding.showModulePages);
    modules->setTabVisible(modules->indexOf(ctl<QWidget>("ModuleKeyboard")), branding.showModulePages);
    for (const QString &picture : branding.pictures)
        ctl<QWidget>(picture.toLatin1().constData())->show();
    if (!branding.caption.isEmpty()) {
        setWindowTitle(branding.caption);
        QApplication::setApplicationDisplayName(branding.caption);
    }
    if (!branding.versionPanelText.isEmpty())
        setPanelText(4, branding.versionPanelText);

    // 2. Status indicator.
    showStatus("DeviceRun");

    // 3-8. Settings file: position, start-up options, language name, interface texts.
    const SettingsFiles settingsFiles = settingsFilesFor(m_executablePath);
    m_settingsReadPath = settingsFiles.read;
    m_settingsPath = settingsFiles.save;
    // A long log keeps its older lines beside the settings file (and the backups), where the user may
    // write, not in memory.
    const QFileInfo settingsFile(m_settingsPath);
    m_monitor->setSpillTemplate(settingsFile.absoluteDir().filePath(settingsFile.completeBaseName() +
                                                                    QStringLiteral(".log-XXXXXX.tmp")));
    IniFile ini;
    QString error;
    // A file that is there but cannot be read is the user's all the same: it is left as it is on closing.
    m_settingsUnreadable = !ini.load(m_settingsReadPath, &error);
    if (m_settingsUnreadable)
        report(tr("The settings file %1 cannot be read (%2). The built-in settings are used, and the file is "
                  "left as it is when the program closes.")
                   .arg(m_settingsReadPath, error));
    // The code page before anything from the unit or a file is shown.
    const CodePageChoice codePage =
        chooseCodePage(ini.readString(CodePageSection, QStringLiteral("Name"), QString()), QLocale());
    m_codePage = codePage.codec;
    m_monitor->setCodePage(m_codePage);
    if (m_session)
        m_session->setCodePage(m_codePage);
    if (!codePage.problem.isEmpty())
        report(codePage.problem);
    const FormSettings form = readFormSettings(ini, sizeHint(), screenAreas());
    move(form.position);
    m_uploadPause = form.uploadPause;
    if (m_session) {
        m_session->setUploadPause(m_uploadPause);
        m_session->setBackupFolder(
            QFileInfo(m_settingsPath).absoluteDir().filePath(QStringLiteral("backups")));
    }
    ctl<QWidget>("Inicializace")->setVisible(form.serviceButtons);
    ctl<QWidget>("IMEI")->setVisible(!ctl<QWidget>("Inicializace")->isHidden());
    m_preferredPort = form.port;
    for (const QString &correction : form.corrections)
        log(correction);
    m_languageName = ini.readString(LanguageSection, QStringLiteral("Language"), QStringLiteral("Eng"));
    applyTexts(ini, m_deviceName, [this](const QString &name) { return control(name); });
    updateAccessibleNames();

    // 10-11. Buttons, timer and battery bar.
    ctl<QPushButton>("SaveOXA")->setEnabled(false);
    m_cekani->stop();
    auto *battery = ctl<QProgressBar>("BVoltage");
    battery->setValue(300);
    battery->setMinimum(300);

    // 12-17. Echo off, opening the line; after a pause the identification. A failed open ends start-up.
    emit portPreferenceRead(m_preferredPort);
    if (!m_session || !m_session->start())
        return;
    state.SelectedButtonPrefix.clear();
    state.SelectedMemoPrefix.clear();
    m_configuration.setStrings(startupParameterStrings());
    ctl<QPushButton>("LoadOXA")->setEnabled(false);
}

void TForm1::FormClose() {
    if (m_seams.port)
        m_seams.port->close();
    // Said at start-up. A file beside the program that could not be read is not the one saved, though:
    // the user's own starts from the built-in settings, and the next start reads it.
    if (m_settingsUnreadable && m_settingsReadPath == m_settingsPath)
        return;
    IniFile ini;
    QString error;
    // Rewriting a file that cannot be read now would replace the user's keys by the window's few. A file
    // read beside the program is carried whole into the user's own, its texts and service keys with it.
    if (!m_settingsUnreadable && !ini.load(m_settingsReadPath, &error)) {
        m_seams.errors->report(tr("The settings were not saved: the settings file %1 cannot be read (%2), "
                                  "so it is left as it is.")
                                   .arg(m_settingsReadPath, error));
        return;
    }
    ini.writeInteger(FormSection, QStringLiteral("Top"), y());
    ini.writeInteger(FormSection, QStringLiteral("Left"), x());
    ini.writeString(LanguageSection, QStringLiteral("Language"), m_languageName);
    writeTexts(ini, m_deviceName, [this](const QString &name) { return control(name); });
    QDir().mkpath(QFileInfo(m_settingsPath).absolutePath());
    if (!ini.save(m_settingsPath, &error))
        m_seams.errors->report(tr("The settings could not be saved to %1: %2").arg(m_settingsPath, error));
}

void TForm1::SaveMonitorClick() {
    const QString filter = tr("Monitor files (*.mon)");
    const QString path = withFilterExtension(m_seams.dialogs->saveFileName(filter), filter);
    if (path.isEmpty())
        return;
    QString error;
    if (!m_monitor->saveTo(path, &error))
        m_seams.errors->report(tr("The log could not be saved to %1: %2").arg(path, error));
}

void TForm1::blinkLineIndicator() {
    auto *led = ctl<QWidget>("RXDled");
    led->setVisible(led->isHidden());
    // Counted from the last data, so that the indicator is out while the line is quiet.
    m_ledTimer->start(ReceiveIndicatorHoldMs);
}

void TForm1::LedTimerTimer() {
    ctl<QWidget>("RXDled")->hide();
    m_ledTimer->stop();
}

} // namespace oxa
