// Start-up and shutdown: branding by file name, the settings file, the first commands to the unit.
#include "branding.h"
#include "fakeseams.h"
#include "formsettings.h"
#include "inifile.h"
#include "monitor.h"
#include "tform1.h"
#include "unprivileged.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace oxa;

namespace {

const QStringList AllPictures = {"OXA1",     "OXA2",     "Sipka1",   "OXAF1",     "OXAF2",
                                 "Sipkaf1",  "OXAL1",    "OXAL2",    "OXAPanel1", "OXAPanel2",
                                 "SipkaPA1", "SipkaPB2", "SipkaPA2", "Image3"};

bool shown(TForm1 &form, const QString &name) {
    auto *widget = qobject_cast<QWidget *>(form.control(name));
    return widget && !widget->isHidden();
}

bool tabShown(TForm1 &form, const char *page) {
    auto *tabs = form.ctl<QTabWidget>("OXAtyp");
    return tabs->isTabVisible(tabs->indexOf(form.ctl<QWidget>(page)));
}

// A window started as the executable `name` in a fresh folder, with an optional settings file.
struct StartedWindow {
    explicit StartedWindow(const QString &name, const QByteArray &settings = {}, bool cancelPort = false) {
        const QString exe = folder.filePath(name);
        if (!settings.isNull()) {
            QFile file(
                exe.left(exe.lastIndexOf('.') > exe.lastIndexOf('/') ? exe.lastIndexOf('.') : exe.size()) +
                ".ini");
            file.open(QIODevice::WriteOnly);
            file.write(settings);
        }
        fakes.port.refuseOpen = cancelPort;
        form = std::make_unique<TForm1>(fakes.seams(), exe);
        form->start();
    }
    QByteArray settingsAfterClose() {
        form->close();
        QFile file(form->settingsPath());
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }
    QTemporaryDir folder;
    test::FakeSeams fakes;
    std::unique_ptr<TForm1> form;
};

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void brandingByFileName_data();
    void brandingByFileName();
    void brandingShowsOneFrontPerPage();
    void firstRunWritesEverySettingsKey();
    void storedTextsWinOverDefaults();
    void settingsInAnEightBitCodePageKeepTheirBytes();
    void quotedAndRepeatedKeysSurviveShutdown();
    void formSectionOptions_data();
    void formSectionOptions();
    void windowPlacement_data();
    void windowPlacement();
    void startupSendsEchoOffPausesThenIdentifies();
    void cancelledPortChoiceEndsStartupEarly();
    void unwritableFolderFallsBackToUserFolder();
    void unwritableSettingsBesideAreReadAndSavedToUserFolder();
    void brandedCopyUsesItsOwnSettingsFile();
};

void TestStartup::brandingByFileName_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("deviceName");
    QTest::addColumn<QStringList>("pictures");
    QTest::addColumn<bool>("modules");

    QTest::newRow("default") << "OXAset.exe"
                             << "OXAset"
                             << "OXA" << QStringList{"OXA1", "OXA2", "Sipka1"} << false;
    QTest::newRow("Knel") << "OXAKnel.exe"
                          << "OXAKnel"
                          << "OXAKnel" << QStringList{"OXAF1", "OXAF2", "Sipkaf1"} << false;
    QTest::newRow("Knel wins over He") << "OXAKnel-He.exe"
                                       << "OXAKnel"
                                       << "OXAKnel" << QStringList{"OXAF1", "OXAF2", "Sipkaf1"} << false;
    QTest::newRow("He") << "Hello.exe"
                        << "OXAset"
                        << "OXA" << QStringList{"OXAF1"} << false;
    QTest::newRow("eZT") << "GSM eZT.exe"
                         << "Tavo GSM eZT Manager"
                         << "GSM eZT" << QStringList{"OXAL1", "OXAL2", "Sipkaf1"} << false;
    QTest::newRow("case-sensitive miss") << "gsm ezt.exe"
                                         << "OXAset"
                                         << "OXA" << QStringList{"OXA1", "OXA2", "Sipka1"} << false;
    QTest::newRow("Quendrill") << "GSMQuend.exe"
                               << "GSM-Quendrill Set"
                               << "GSM-Quendrill"
                               << QStringList{"OXAPanel1", "OXAPanel2", "SipkaPA1", "SipkaPB2", "SipkaPA2"}
                               << true;
    QTest::newRow("no extension") << "OXAset"
                                  << "OXAset"
                                  << "OXA" << QStringList{"OXA1", "OXA2", "Sipka1"} << false;
}

void TestStartup::brandingByFileName() {
    QFETCH(QString, fileName);
    QFETCH(QString, caption);
    QFETCH(QString, deviceName);
    QFETCH(QStringList, pictures);
    QFETCH(bool, modules);

    StartedWindow w(fileName);
    TForm1 &form = *w.form;
    QCOMPARE(form.windowTitle(), caption);
    QCOMPARE(form.deviceName(), deviceName);
    for (const QString &picture : AllPictures)
        QVERIFY2(shown(form, picture) == pictures.contains(picture), qPrintable(picture));
    QVERIFY(shown(form, "Image5"));
    QCOMPARE(tabShown(form, "ModuleButtons"), modules);
    QCOMPARE(tabShown(form, "ModuleKeyboard"), modules);
    QCOMPARE(form.ctl<QWidget>("GroupBox4")->property("title").toString(), deviceName);
    QCOMPARE(form.panelText(4), modules ? QString(" GSM-QU Ver:") : QString(" OXA Ver:"));
    QCOMPARE(form.ctl<QWidget>("PhoneBook1")->toolTip(), "Telephone book in " + deviceName);
}

void TestStartup::brandingShowsOneFrontPerPage() {
    // A marker in the folder's name does not count, only the file's own name.
    const QString folderMarked = brandingFor(QStringLiteral("OXAset.exe")).deviceName;
    QCOMPARE(folderMarked, QString("OXA"));
    for (const char *name : {"OXAset.exe", "OXAKnel.exe", "Hello.exe", "GSM eZT.exe", "GSMQuend.exe"}) {
        StartedWindow w(QString::fromLatin1(name));
        int first = 0, second = 0;
        for (const char *front : {"OXA", "OXAF", "OXAL", "OXAPanel"}) {
            first += shown(*w.form, QString::fromLatin1(front) + "1");
            second += shown(*w.form, QString::fromLatin1(front) + "2");
        }
        QCOMPARE(first, 1);
        QCOMPARE(second, QByteArray(name) == "Hello.exe" ? 0 : 1);
    }
    QTemporaryDir folder;
    QDir(folder.path()).mkdir("GSM eZT");
    test::FakeSeams fakes;
    TForm1 form(fakes.seams(), folder.filePath("GSM eZT/OXAset.exe"));
    form.start();
    QCOMPARE(form.deviceName(), QString("OXA"));
    QVERIFY(shown(form, "OXA1"));
}

void TestStartup::firstRunWritesEverySettingsKey() {
    StartedWindow w("OXAset.exe");
    IniFile ini;
    ini.loadFromBytes(w.settingsAfterClose());
    QCOMPARE(ini.sections(), (QStringList{"Form", "Language", "Help"}));
    QCOMPARE(ini.keys("Form"), (QStringList{"Top", "Left"}));
    const QStringList language = ini.keys("Language");
    QCOMPARE(language.size(), 94);
    QCOMPARE(language.first(), QString("Language"));
    QCOMPARE(ini.readString("Language", "Language", {}), QString("Eng"));
    QVERIFY(language.contains("OXA"));
    QVERIFY(language.contains("Mo  Tu    We  Th     Fr    Sa    Su"));
    QCOMPARE(ini.readString("Language", "Keyboard Parameters", {}), QString("Keyboard parameters"));
    const QStringList help = ini.keys("Help");
    QCOMPARE(help.size(), 63);
    QVERIFY(!help.contains("Status"));
    QCOMPARE(ini.readString("Help", "PhoneBook", {}), QString("Telephone book in OXA"));
    QCOMPARE(ini.readString("Help", "Name of memory", {}), QString("Name of memory."));
}

void TestStartup::storedTextsWinOverDefaults() {
    const QByteArray settings =
        "[Language]\r\nLanguage=Cze\r\nwrite code=Zapsat\r\nOXA=Jednotka\r\n"
        "Buttons=\r\n[Help]\r\n; a translator's note\r\nSend SMS to ADMIN1=Posli\r\nStatus=Stav\r\n"
        "Name of memory=Jmeno\r\n";
    StartedWindow w("OXAset.exe", settings);
    TForm1 &form = *w.form;
    for (int mode = 0; mode <= 4; ++mode)
        QCOMPARE(
            form.ctl<QPushButton>(QByteArray("WriteCode" + QByteArray::number(mode)).constData())->text(),
            QString("Zapsat"));
    QCOMPARE(form.ctl<QWidget>("GroupBox4")->property("title").toString(), QString("Jednotka"));
    for (const char *sms : {"M1SMS", "M2SMS", "M3SMS", "M4SMS"})
        QCOMPARE(form.ctl<QWidget>(sms)->toolTip(), QString("Posli"));
    for (const char *status : {"DeviceRun", "DeviceStop", "DeviceNic"})
        QCOMPARE(form.ctl<QWidget>(status)->toolTip(), QString("Stav"));
    QCOMPARE(form.ctl<QWidget>("Button")->toolTip(), QString("Jmeno"));
    QCOMPARE(form.ctl<QWidget>("Memo")->toolTip(), QString("Jmeno"));
    QCOMPARE(form.ctl<QTabWidget>("PageControl1")->tabText(0), QString()); // an empty value stays empty

    IniFile ini;
    const QByteArray written = w.settingsAfterClose();
    ini.loadFromBytes(written);
    QCOMPARE(ini.readString("Language", "Language", {}), QString("Cze"));
    QCOMPARE(ini.readString("Help", "Status", {}), QString("Stav"));
    QCOMPARE(ini.readString("Language", "OXA", {}), QString("Jednotka"));
    QVERIFY(written.contains("; a translator's note"));
    QVERIFY(written.contains("write code=Zapsat")); // the key keeps the spelling it had
}

// A translation saved in a Windows code page is not UTF-8: its bytes are shown one character each and
// written back exactly; a UTF-8 file stays UTF-8.
void TestStartup::settingsInAnEightBitCodePageKeepTheirBytes() {
    const QByteArray cp1250 = "[Language]\r\nLanguage=\xc8"
                              "e\x9a"
                              "tina\r\nRun=Spus\x9d\r\n";
    StartedWindow w("OXAset.exe", cp1250);
    QCOMPARE(w.form->ctl<QPushButton>("RunOXA")->text(), QString::fromLatin1("Spus\x9d"));
    const QByteArray written = w.settingsAfterClose();
    QVERIFY(written.contains("Language=\xc8"
                             "e\x9a"
                             "tina\r\n"));
    QVERIFY(written.contains("Run=Spus\x9d\r\n"));

    const QByteArray utf8 = "[Language]\nRun=Spus\xc5\xa5\n";
    StartedWindow u("OXAset.exe", utf8);
    QCOMPARE(u.form->ctl<QPushButton>("RunOXA")->text(), QString::fromUtf8("Spus\xc5\xa5"));
    QVERIFY(u.settingsAfterClose().contains("Run=Spus\xc5\xa5"));
}

// A translator's quotes and a key written twice: the window shows what Windows would read, and the
// shutdown that writes every text back leaves those lines as they were.
void TestStartup::quotedAndRepeatedKeysSurviveShutdown() {
    const QByteArray settings = "[Form]\r\nTop=\"40\"\r\n[Language]\r\nRun=\"Start\"\r\nStop=Halt\r\n"
                                "Stop=Ignored\r\nSave=\" Keep \"\r\n";
    StartedWindow w("OXAset.exe", settings);
    QCOMPARE(w.form->pos().y(), 40);
    QCOMPARE(w.form->ctl<QPushButton>("RunOXA")->text(), QString("Start"));
    QCOMPARE(w.form->ctl<QPushButton>("StopOXA")->text(), QString("Halt"));
    QCOMPARE(w.form->ctl<QPushButton>("Save")->text(), QString(" Keep "));
    const QByteArray written = w.settingsAfterClose();
    QVERIFY(written.contains("\r\nTop=\"40\"\r\n"));
    QVERIFY(written.contains("\r\nRun=\"Start\"\r\n"));
    QVERIFY(written.contains("\r\nStop=Halt\r\nStop=Ignored\r\n"));
    QVERIFY(written.contains("\r\nSave=\" Keep \"\r\n"));
    QCOMPARE(written.count("Stop="), 2);
}

void TestStartup::formSectionOptions_data() {
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QPoint>("position"); // (-1, -1): placed on the primary screen
    QTest::addColumn<bool>("serviceButtons");
    QTest::addColumn<int>("uploadPause");
    QTest::addColumn<QStringList>("notes"); // what the monitor says of corrected values

    const QPoint onPrimary(-1, -1);
    QTest::newRow("no file") << QByteArray() << QPoint(200, 200) << false << 1000 << QStringList{};
    QTest::newRow("values") << QByteArray("[form]\nTop=40\nleft=30\nInicializace=1\nWaitSer=250\n")
                            << QPoint(30, 40) << true << 250 << QStringList{};
    QTest::newRow("not integers") << QByteArray("[Form]\nTop=abc\nLeft=\nInicializace=yes\nWaitSer=1.5\n")
                                  << QPoint(200, 200) << false << 1000 << QStringList{};
    QTest::newRow("zero") << QByteArray("[Form]\nInicializace=0\n") << QPoint(200, 200) << false << 1000
                          << QStringList{};
    // A pause of ten minutes held the window for ten minutes.
    QTest::newRow("pause of ten minutes")
        << QByteArray("[Form]\nWaitSer=600000\n") << QPoint(200, 200) << false << 60000
        << QStringList{"WaitSer=600000 is longer than 60000 ms"};
    QTest::newRow("pause of a minute")
        << QByteArray("[Form]\nWaitSer=60000\n") << QPoint(200, 200) << false << 60000 << QStringList{};
    QTest::newRow("negative pause") << QByteArray("[Form]\nWaitSer=-5\n") << QPoint(200, 200) << false << 0
                                    << QStringList{"WaitSer=-5 is below 0"};
    // Off screen, the window was saved back where nobody could reach it.
    for (const auto &[name, left, top] :
         {std::tuple{"left of the screen", -1500, 200}, std::tuple{"far above", 200, -100000},
          std::tuple{"far beyond", 2000000000, 2000000000},
          std::tuple{"title bar above the screen", 200, -10}})
        QTest::newRow(name) << QByteArray("[Form]\nLeft=" + QByteArray::number(left) +
                                          "\nTop=" + QByteArray::number(top) + "\n")
                            << onPrimary << false << 1000
                            << QStringList{
                                   QStringLiteral("Left=%1, Top=%2 is off every screen").arg(left).arg(top)};
    QTest::newRow("partly off screen, title bar in reach")
        << QByteArray("[Form]\nLeft=-400\nTop=300\n") << QPoint(-400, 300) << false << 1000 << QStringList{};
}

void TestStartup::formSectionOptions() {
    QFETCH(QByteArray, settings);
    QFETCH(QPoint, position);
    QFETCH(bool, serviceButtons);
    QFETCH(int, uploadPause);
    QFETCH(QStringList, notes);

    StartedWindow w("OXAset.exe", settings);
    const QPoint shownAt = w.form->pos();
    if (position == QPoint(-1, -1))
        QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(
            QRect(shownAt, w.form->sizeHint())));
    else
        QCOMPARE(shownAt, position);
    QCOMPARE(shown(*w.form, "Inicializace"), serviceButtons);
    QCOMPARE(shown(*w.form, "IMEI"), serviceButtons);
    QCOMPARE(w.form->uploadPause(), uploadPause);
    const QStringList logged = w.form->monitor()->lines();
    QCOMPARE(logged.size(), notes.size());
    for (qsizetype i = 0; i < notes.size(); ++i)
        QVERIFY2(logged[i].contains(notes[i]), qPrintable(logged[i]));

    IniFile ini;
    ini.loadFromBytes(w.settingsAfterClose());
    QCOMPARE(ini.hasKey("Form", "WaitSer"), settings.contains("WaitSer"));
    QCOMPARE(ini.hasKey("Form", "Inicializace"), settings.contains("Inicializace"));
    QVERIFY(!ini.hasKey("Form", "Port"));
    // The position saved is where the window was shown.
    QCOMPARE(QPoint(ini.readInteger("Form", "Left", 0), ini.readInteger("Form", "Top", 0)), shownAt);
}

// Screens side by side and of different heights: a window is kept where its title bar can be reached,
// and otherwise put 200, 200 into the primary screen, or further up and left where it would not fit.
void TestStartup::windowPlacement_data() {
    QTest::addColumn<QList<QRect>>("screens");
    QTest::addColumn<QPoint>("wanted");
    QTest::addColumn<QPoint>("placed");
    const QList<QRect> two = {QRect(0, 0, 1920, 1040), QRect(1920, -200, 1280, 1024)};
    const QList<QRect> small = {QRect(100, 50, 800, 600)};
    QTest::newRow("on the primary screen") << two << QPoint(200, 200) << QPoint(200, 200);
    QTest::newRow("on the second screen, above the primary")
        << two << QPoint(2500, -150) << QPoint(2500, -150);
    QTest::newRow("across both screens") << two << QPoint(1700, 300) << QPoint(1700, 300);
    QTest::newRow("100 pixels of title bar left") << two << QPoint(-513, 10) << QPoint(-513, 10);
    QTest::newRow("99 pixels of title bar left") << two << QPoint(-514, 10) << QPoint(200, 200);
    QTest::newRow("title bar below every screen") << two << QPoint(200, 1030) << QPoint(200, 200);
    QTest::newRow("beside the second screen") << two << QPoint(3200, 0) << QPoint(200, 200);
    QTest::newRow("int's ends") << two << QPoint(INT_MIN, INT_MAX) << QPoint(200, 200);
    QTest::newRow("int's other ends") << two << QPoint(INT_MAX, INT_MIN) << QPoint(200, 200);
    QTest::newRow("a small primary screen") << small << QPoint(-5000, 0) << QPoint(100 + 187, 50 + 97);
    QTest::newRow("no screen known") << QList<QRect>{} << QPoint(-5000, 0) << QPoint(-5000, 0);
}

void TestStartup::windowPlacement() {
    QFETCH(QList<QRect>, screens);
    QFETCH(QPoint, wanted);
    QFETCH(QPoint, placed);
    QCOMPARE(placeOnScreen(wanted, QSize(613, 503), screens), placed);
}

void TestStartup::startupSendsEchoOffPausesThenIdentifies() {
    StartedWindow w("OXAset.exe");
    QCOMPARE(w.fakes.port.sent, (QList<QByteArray>{"ATE0\r\n", "AT+CGMI\r\n"}));
    QCOMPARE(w.fakes.pause.pauses, QList<int>{200});
    QVERIFY(w.fakes.errors.messages.isEmpty());
    QVERIFY(!w.form->ctl<QPushButton>("SaveOXA")->isEnabled());
    QVERIFY(!w.form->ctl<QPushButton>("LoadOXA")->isEnabled());
    QVERIFY(shown(*w.form, "DeviceRun") && !shown(*w.form, "DeviceStop") && !shown(*w.form, "DeviceNic"));
    auto *battery = w.form->ctl<QProgressBar>("BVoltage");
    QCOMPARE(battery->minimum(), 300);
    QCOMPARE(battery->value(), 300);
    QCOMPARE(battery->maximum(), 420);
    QVERIFY(!w.form->findChild<QTimer *>("Cekani")->isActive());
    QVERIFY(!w.form->findChild<QTimer *>("LedTimer")->isActive());
}

void TestStartup::cancelledPortChoiceEndsStartupEarly() {
    StartedWindow w("OXAset.exe", {}, true);
    QVERIFY(w.fakes.port.sent.isEmpty());
    QVERIFY(w.fakes.pause.pauses.isEmpty());
    QCOMPARE(w.fakes.errors.messages.size(), 1);
    QVERIFY(w.form->ctl<QPushButton>("LoadOXA")->isEnabled());
    QVERIFY(!w.form->ctl<QPushButton>("SaveOXA")->isEnabled());
    // The window is usable and the next send asks again.
    w.fakes.port.refuseOpen = false;
    const QByteArray settings = w.settingsAfterClose();
    QVERIFY(settings.contains("[Language]"));
}

void TestStartup::unwritableFolderFallsBackToUserFolder() {
    // A folder that cannot be written (here: one that is gone, which even root cannot write to).
    QTemporaryDir userConfig;
    qputenv("XDG_CONFIG_HOME", userConfig.path().toLocal8Bit());
    QTemporaryDir folder;
    const QString exe = folder.filePath("gone/OXAset");
    test::FakeSeams fakes;
    {
        TForm1 form(fakes.seams(), exe);
        form.start();
        QCOMPARE(form.settingsPath(), userConfig.filePath("OXAset/OXAset.ini"));
        form.ctl<QWidget>("Buttons"); // the window works as usual
        form.close();
    }
    QVERIFY(QFile::exists(userConfig.filePath("OXAset/OXAset.ini")));
    QVERIFY(fakes.errors.messages.isEmpty());
    qunsetenv("XDG_CONFIG_HOME");
}

// An installed program: its folder and the settings file put there by an administrator are read-only
// for the user. That file is read (texts and service keys); closing saves to the user's folder,
// carrying its keys over, and the next start reads the user's file first.
void TestStartup::unwritableSettingsBesideAreReadAndSavedToUserFolder() {
    QTemporaryDir userConfig;
    QVERIFY(test::openToEveryone(userConfig.path()));
    qputenv("XDG_CONFIG_HOME", userConfig.path().toLocal8Bit());
    QTemporaryDir folder;
    const QString beside = folder.filePath("OXAset.ini");
    const QString own = userConfig.filePath("OXAset/OXAset.ini");
    const QByteArray administrators = "[Form]\r\nWaitSer=700\r\nInicializace=1\r\nOwnKey=kept\r\n"
                                      "[Language]\r\nLanguage=Cze\r\nwrite code=Zapsat\r\n";
    {
        QFile file(beside);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(administrators);
    }
    QVERIFY(QFile::setPermissions(beside,
                                  QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    QVERIFY(test::readOnlyForUsers(folder.path()));

    {
        test::UnprivilegedFileAccess asUser;
        test::FakeSeams fakes;
        TForm1 form(fakes.seams(), folder.filePath("OXAset"));
        form.start();
        QCOMPARE(form.settingsReadPath(), beside);
        QCOMPARE(form.settingsPath(), own);
        QCOMPARE(form.uploadPause(), 700);
        QVERIFY(shown(form, "Inicializace"));
        QCOMPARE(form.languageName(), QString("Cze"));
        QCOMPARE(form.ctl<QPushButton>("WriteCode0")->text(), QString("Zapsat"));
        form.move(150, 160);
        form.close();
        QCOMPARE(fakes.errors.messages, QStringList{});
    }
    {
        QFile file(beside);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), administrators);
    }
    IniFile saved;
    QVERIFY(saved.load(own));
    QCOMPARE(saved.readInteger("Form", "WaitSer", 0), 700);
    QCOMPARE(saved.readInteger("Form", "Inicializace", 0), 1);
    QCOMPARE(saved.readString("Form", "OwnKey", {}), QString("kept"));
    QCOMPARE(saved.readString("Language", "write code", {}), QString("Zapsat"));
    QCOMPARE(saved.readInteger("Form", "Left", 0), 150);
    QCOMPARE(saved.readInteger("Form", "Top", 0), 160);

    // The user's file is read first: a change made there holds, the administrator's file stays as it is.
    saved.writeInteger("Form", "WaitSer", 650);
    QVERIFY(saved.save(own));
    {
        test::UnprivilegedFileAccess asUser;
        test::FakeSeams fakes;
        TForm1 form(fakes.seams(), folder.filePath("OXAset"));
        form.start();
        QCOMPARE(form.settingsReadPath(), own);
        QCOMPARE(form.settingsPath(), own);
        QCOMPARE(form.uploadPause(), 650);
        QCOMPARE(form.pos(), QPoint(150, 160));
        form.close();
        QCOMPARE(fakes.errors.messages, QStringList{});
    }
    QVERIFY(saved.load(own));
    QCOMPARE(saved.readInteger("Form", "WaitSer", 0), 650);
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"OXAset.ini"});
    qunsetenv("XDG_CONFIG_HOME");
}

void TestStartup::brandedCopyUsesItsOwnSettingsFile() {
    QTemporaryDir folder;
    test::FakeSeams fakes;
    TForm1 form(fakes.seams(), folder.filePath("GSMQuend.bin"));
    form.start();
    QCOMPARE(form.settingsPath(), folder.filePath("GSMQuend.ini"));
    form.close();
    IniFile ini;
    ini.load(folder.filePath("GSMQuend.ini"));
    // The group box is read under the device name and written under "OXA".
    QCOMPARE(ini.readString("Language", "OXA", {}), QString("GSM-Quendrill"));
    QVERIFY(!ini.hasKey("Language", "GSM-Quendrill"));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
