// Whole-device sequences against the in-process simulated unit: stop, read, write, read back, and a
// write that the unit refuses or leaves unanswered.
#include "simwindow.h"

#include "fault.h"
#include "unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace oxa;

namespace {

QList<sim::IndexedEntry> simOf(const QList<std::pair<QByteArray, QByteArray>> &entries) {
    QList<sim::IndexedEntry> content;
    int index = 1;
    for (const auto &[name, number] : entries)
        content.append({index++, sim::SimEntry{number, name}});
    return content;
}

sim::UnitOptions optionsWith(QList<sim::IndexedEntry> content, int size = 250,
                             sim::Variant variant = sim::Variant::Classic) {
    sim::UnitOptions options = test::SimWindow::defaultOptions();
    options.simContent = content;
    options.simSize = size;
    options.variant = variant;
    return options;
}

QList<std::pair<QByteArray, QByteArray>> usedEntries(sim::Unit &unit) {
    QList<std::pair<QByteArray, QByteArray>> entries;
    for (const sim::IndexedEntry &e : unit.sim().usedEntries())
        entries.append({e.entry.name, e.entry.number});
    return entries;
}

const QList<std::pair<QByteArray, QByteArray>> SmallSim = {
    {"ADMIN1", "+420600111222"},
    {"ABUTTON1", "601"},
    {"ALARMON", "Alarm on"},
    {"PAROXA", "5#3#1#0#1#7#2#1"},
    {"PARRL1", "51#1#05#1"},
    {"PARRL2", "62#1#03#0"},
    {"PARKEY", "3#1"},
    {"Novak", "+420777000111"},
    {"VER", "2.41"},
    {"Dvorak", "602"},
};

} // namespace

class TestDeviceSim : public QObject {
    Q_OBJECT
private slots:
    void stopThenReadFillsTheWindow();
    void lteStopHandshakeReadsToo();
    void writeStoresKeysRowsAndEmptiesTheRest();
    void writeWithoutKnownSizeEndsAtOnce();
    void refusedWriteStepUnlocksAndKeepsTheWindow();
    void installedProgramKeepsBackupsInTheUserFolder();
    void silentUnitEndsTheWriteAfterTheTimeout();
    void everyByteRoundTripsUnitWindowFileWindowUnit_data();
    void everyByteRoundTripsUnitWindowFileWindowUnit();
};

void TestDeviceSim::stopThenReadFillsTheWindow() {
    test::SimWindow w(optionsWith(simOf(SmallSim)));
    w.form.start();
    w.settle();
    // The script runs and ignores the start-up commands: the window shows the unit running.
    QVERIFY(!w.form.ctl<QWidget>("DeviceRun")->isHidden());
    QVERIFY(w.form.ctl<QLineEdit>("ADMIN1")->text().isEmpty());

    w.stopAndRead();
    QVERIFY(!w.form.ctl<QWidget>("DeviceStop")->isHidden());
    QCOMPARE(w.form.session().simSize(), 250);
    QCOMPARE(w.form.panelText(2), QString(" SIM: 250"));
    QCOMPARE(w.form.ctl<QLineEdit>("ADMIN1")->text(), QString("+420600111222"));
    QCOMPARE(w.form.ctl<QLineEdit>("ABUTTON1")->text(), QString("601"));
    QCOMPARE(w.form.ctl<QLineEdit>("ALARMON")->text(), QString("Alarm on"));
    QCOMPARE(w.form.configuration().strings().paroxa, QByteArray("5#3#1#0#1#7#2#1"));
    QCOMPARE(w.form.configuration().strings().parkey, QByteArray("3#1"));
    QCOMPARE(w.form.panelText(4), QString(" GSM-QU Ver: 2.41"));
    QVERIFY(w.errors.messages.isEmpty());
}

void TestDeviceSim::lteStopHandshakeReadsToo() {
    test::SimWindow w(optionsWith(simOf(SmallSim), 250, sim::Variant::Lte));
    w.form.start();
    w.settle();
    w.stopAndRead();
    QVERIFY(w.form.session().lteModule());
    QVERIFY(!w.form.ctl<QWidget>("DeviceStop")->isHidden());
    QCOMPARE(w.form.ctl<QLineEdit>("ADMIN1")->text(), QString("+420600111222"));
    QVERIFY(w.form.monitor()->lines().contains("----------------------2"));
}

void TestDeviceSim::writeStoresKeysRowsAndEmptiesTheRest() {
    // A SIM with stale entries beyond what the window will write.
    QList<std::pair<QByteArray, QByteArray>> stale = SmallSim;
    for (int i = 0; i < 20; ++i)
        stale.append({"Old" + QByteArray::number(i), "5550" + QByteArray::number(i)});
    test::SimWindow w(optionsWith(simOf(stale), 40));
    w.form.start();
    w.settle();
    w.stopAndRead();
    w.form.ctl<QLineEdit>("ADMIN2")->setText("+420600333444");
    w.form.ctl<QLineEdit>("ALARMON")->setText(QString());

    w.form.SaveOXAClick();
    QVERIFY(!w.form.ctl<QWidget>("seting")->isEnabled());
    QVERIFY(w.settle([&] { return !w.form.session().writing(); }));
    w.settle();
    if (qEnvironmentVariableIsSet("OXA_DUMP"))
        qDebug().noquote() << w.form.monitor()->lines().join("\n");
    QVERIFY2(w.errors.messages.isEmpty(), qPrintable(w.errors.messages.join('\n')));
    QVERIFY(w.form.ctl<QWidget>("seting")->isEnabled());

    const auto entries = usedEntries(w.unit());
    QList<QByteArray> names;
    for (const auto &[name, number] : entries)
        names << name;
    // Keys first in their fixed order (empty ones use no index), then the rows in grid order.
    const QList<QByteArray> keys = {"ADMIN1", "ADMIN2", "ABUTTON1", "PAROXA", "PARRL1", "PARRL2", "PARKEY"};
    QVERIFY2(names.mid(0, keys.size()) == keys, names.join(" ").constData());
    QCOMPARE(entries.at(1).second, QByteArray("+420600333444"));
    QVERIFY(!names.contains("VER"));     // read-only: never written back
    QVERIFY(!names.contains("ALARMON")); // emptied box: no entry
    const int written = int(names.size());
    QCOMPARE(w.unit().sim().usedCount(), written);
    for (int index = 1; index <= written; ++index)
        QVERIFY2(w.unit().sim().isUsed(index), "the SIM has a gap");
    QCOMPARE(w.form.ctl<QLineEdit>("ADMIN2")->text(), QString("+420600333444")); // the read-back agrees
}

void TestDeviceSim::writeWithoutKnownSizeEndsAtOnce() {
    sim::UnitOptions options = optionsWith(simOf(SmallSim));
    options.startRunning = false; // takes commands at once: "Telit" shows programming mode, no size read
    test::SimWindow w(options);
    w.form.start();
    w.settle();
    QCOMPARE(w.form.session().simSize(), 0);
    QVERIFY(!w.form.ctl<QWidget>("DeviceStop")->isHidden());
    w.form.SaveOXAClick();
    QVERIFY(w.settle([&] { return !w.form.session().writing(); }));
    QCOMPARE(usedEntries(w.unit()), SmallSim);
    QVERIFY(w.form.ctl<QPushButton>("SaveOXA")->isEnabled());
}

void TestDeviceSim::refusedWriteStepUnlocksAndKeepsTheWindow() {
    test::SimWindow w(optionsWith(simOf(SmallSim)));
    w.form.start();
    w.settle();
    w.stopAndRead();
    w.form.ctl<QLineEdit>("ADMIN2")->setText("+420600333444");
    w.form.SaveOXAClick();
    QVERIFY(w.settle([&] { return w.form.session().simWriteIndex() >= 3; }));
    w.host->injectFault({sim::Fault::Kind::CmeError, 1, 21});
    QVERIFY(w.settle([&] { return !w.form.session().writing(); }));
    w.settle();
    QCOMPARE(w.errors.messages.size(), 1);
    QVERIFY2(w.errors.messages.first().contains("SIM index"), qPrintable(w.errors.messages.first()));
    // The unit's configuration from before the write is kept, and the message says where.
    const QStringList backups = QDir(w.folder.filePath("backups")).entryList({"*.oxa"}, QDir::Files);
    QCOMPARE(backups.size(), 1);
    QVERIFY(w.errors.messages.first().contains(backups.first()));
    QFile backup(QDir(w.folder.filePath("backups")).filePath(backups.first()));
    QVERIFY(backup.open(QIODevice::ReadOnly));
    const QByteArray kept = backup.readAll();
    QVERIFY(kept.startsWith("ADMIN1=+420600111222\r\nADMIN2=\r\n"));
    QVERIFY(kept.contains("\r\nNovak=+420777000111\r\n"));
    QVERIFY(w.form.ctl<QPushButton>("SaveOXA")->isEnabled());
    QVERIFY(w.form.ctl<QWidget>("Buttons")->isEnabled());
    QVERIFY(w.form.ctl<QWidget>("Prubeh")->isHidden());
    QCOMPARE(w.form.ctl<QLineEdit>("ADMIN2")->text(), QString("+420600333444"));
    // Once the unit takes entries again, the same write goes through.
    w.form.SaveOXAClick();
    QVERIFY(w.settle([&] { return !w.form.session().writing(); }));
    w.settle();
    QCOMPARE(w.errors.messages.size(), 1);
    QCOMPARE(usedEntries(w.unit()).at(1), (std::pair<QByteArray, QByteArray>{"ADMIN2", "+420600333444"}));
}

// The folder of an installed program cannot be written: the backups go beside the settings file the
// program saves, in the user's configuration folder.
void TestDeviceSim::installedProgramKeepsBackupsInTheUserFolder() {
    QTemporaryDir userConfig;
    QVERIFY(test::openToEveryone(userConfig.path()));
    qputenv("XDG_CONFIG_HOME", userConfig.path().toLocal8Bit());
    test::SimWindow w(optionsWith(simOf(SmallSim)), QStringLiteral("OXAset"));
    QVERIFY(test::readOnlyForUsers(w.folder.path()));
    {
        test::UnprivilegedFileAccess asUser;
        w.form.start();
        w.settle();
        w.stopAndRead();
        w.form.ctl<QLineEdit>("ADMIN2")->setText("+420600333444");
        w.form.SaveOXAClick();
        QVERIFY(w.settle([&] { return !w.form.session().writing(); }));
        w.settle();
    }
    qunsetenv("XDG_CONFIG_HOME");
    QCOMPARE(w.errors.messages, QStringList{});
    QCOMPARE(w.form.settingsPath(), userConfig.filePath("OXAset/OXAset.ini"));
    const QDir backups(userConfig.filePath("OXAset/backups"));
    QCOMPARE(backups.entryList({"*.oxa"}, QDir::Files).size(), 1);
    QCOMPARE(w.form.session().lastBackup(),
             backups.filePath(backups.entryList({"*.oxa"}, QDir::Files).first()));
    QVERIFY(!QFileInfo::exists(w.folder.filePath("backups")));
}

void TestDeviceSim::silentUnitEndsTheWriteAfterTheTimeout() {
    test::SimWindow w(optionsWith(simOf(SmallSim)));
    w.form.start();
    w.settle();
    w.stopAndRead();
    w.form.findChild<QTimer *>("WriteTimeout")->setInterval(1);
    w.host->injectFault({sim::Fault::Kind::Silent, 1000, 0});
    w.form.SaveOXAClick();
    QVERIFY(w.settle([&] { return !w.form.session().writing(); }));
    QCOMPARE(w.errors.messages.size(), 1);
    QVERIFY(w.errors.messages.first().contains("did not answer"));
    QVERIFY(w.form.ctl<QPushButton>("StopOXA")->isEnabled());
}

// Every byte the line can carry in a name (all but the framing: control bytes, the quote that
// delimits fields, the comma and semicolon that would split the write command and, in a file, the "="
// that splits a row) comes back unchanged; numbers keep the characters a SIM number has.
// Whatever the code page shows them as, the bytes go back unchanged; Greek and Baltic leave some bytes
// unassigned.
void TestDeviceSim::everyByteRoundTripsUnitWindowFileWindowUnit_data() {
    QTest::addColumn<QByteArray>("codePage");
    QTest::newRow("language's") << QByteArray();
    for (const char *number : {"1250", "1251", "1253", "1257"})
        QTest::newRow(number) << QByteArray(number);
}

void TestDeviceSim::everyByteRoundTripsUnitWindowFileWindowUnit() {
    QFETCH(QByteArray, codePage);
    QByteArray bytes;
    for (int b = 32; b < 256; ++b)
        if (b != '"' && b != '=' && b != ',' && b != ';')
            bytes.append(char(b));
    QList<std::pair<QByteArray, QByteArray>> content = SmallSim;
    // Names of at most 18 bytes and numbers of at most 40, as the SIM takes them.
    for (qsizetype at = 0; at < bytes.size(); at += 18)
        content.append({bytes.mid(at, 18), "+42060" + QByteArray::number(at) + "*#9"});
    test::SimWindow w(optionsWith(simOf(content), 40));
    if (!codePage.isEmpty())
        w.writeSettings("[CodePage]\r\nName=" + codePage + "\r\n");
    w.form.start();
    w.settle();
    w.stopAndRead();
    const auto before = usedEntries(w.unit());

    const QString file = w.folder.filePath("all-bytes.oxa");
    w.dialogs.saveAnswers.enqueue(file);
    w.form.SaveClick();
    w.form.clearPhoneBook();
    w.form.ctl<QLineEdit>("ADMIN1")->clear();
    w.dialogs.openAnswers.enqueue(file);
    w.form.LoadClick();
    QVERIFY2(w.errors.messages.isEmpty(), qPrintable(w.errors.messages.join('\n')));

    for (int index = 1; index <= 40; ++index)
        w.unit().sim().erase(index);
    w.form.SaveOXAClick();
    QVERIFY(w.settle([&] { return !w.form.session().writing(); }));
    w.settle();
    QVERIFY2(w.errors.messages.isEmpty(), qPrintable(w.errors.messages.join('\n')));
    auto after = usedEntries(w.unit());
    // The write puts keys first and drops the read-only "VER"; the parameter strings come back as the
    // settings pages encode them (their own tests cover that). Compare the rest as sets of entries.
    auto comparable = [](QList<std::pair<QByteArray, QByteArray>> entries) {
        entries.removeIf(
            [](const auto &entry) { return entry.first == "VER" || entry.first.startsWith("PAR"); });
        std::sort(entries.begin(), entries.end());
        return entries;
    };
    QCOMPARE(comparable(after), comparable(before));
    QCOMPARE(after.size(), before.size() - 1);
}

QTEST_MAIN(TestDeviceSim)
#include "tst_device_sim.moc"
