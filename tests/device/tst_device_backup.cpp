// The backup kept before a whole-device write: the unit's configuration as a file, the newest 20 kept.
#include "backup.h"
#include "configurationfile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace oxa;

class TestDeviceBackup : public QObject {
    Q_OBJECT
private slots:
    void unitEntriesBecomeAConfigurationFile();
    void onlyTheNewestTwentyAreKept();
    void anUnwritableFolderIsReported();
};

void TestDeviceBackup::unitEntriesBecomeAConfigurationFile() {
    const UnitEntries entries = {{"ADMIN1", "+420600111222"}, {"Novak", "777"},     {"PAROXA", "5#3#1#0#1#7#2#1"},
                                 {"VER", "2.41"},             {"ADMIN1", "999"},     {"M12-1", "\xe9\x01"},
                                 {"PARKEY", "3#1"},           {"PARRL2", "62#1#03#0"}};
    const QByteArray file = configurationFileOf(entries);
    const ConfigurationLoad load = parseConfiguration(file);
    QVERIFY(load.error.isEmpty());
    QCOMPARE(load.editBoxValues.first().key, QByteArray("ADMIN1"));
    QCOMPARE(load.editBoxValues.first().value, QByteArray("+420600111222"));
    QVERIFY(file.contains("PARAMOXA=5#3#1#0#1#7#2#1\r\n"));
    QVERIFY(file.contains("PARAMRL2=62#1#03#0\r\n"));
    QVERIFY(!file.contains("VER"));
    // The unit's other rows in its order, a second ADMIN1 among them, every byte kept.
    QVERIFY(file.endsWith("Novak=777\r\nADMIN1=999\r\nM12-1=\xe9\x01\r\nPARKEY=3#1\r\n"));
    QCOMPARE(load.parameters.size(), 4); // the three lines every file has, and the PARKEY row
    QCOMPARE(load.parameters.last().value, QByteArray("3#1"));
}

void TestDeviceBackup::onlyTheNewestTwentyAreKept() {
    QTemporaryDir folder;
    const QString backups = folder.filePath("backups");
    const QDateTime start(QDate(2026, 12, 9), QTime(10, 0, 0));
    QString newest;
    for (int i = 0; i < 23; ++i) {
        QString error;
        newest = writeBackup(backups, {{"ADMIN1", QByteArray::number(i)}}, start.addSecs(i), 20, &error);
        QVERIFY2(!newest.isEmpty(), qPrintable(error));
    }
    const QStringList kept = QDir(backups).entryList({"*.oxa"}, QDir::Files, QDir::Name);
    QCOMPARE(kept.size(), 20);
    QCOMPARE(kept.first(), QString("2026-12-09_10-00-03.oxa"));
    QCOMPARE(QDir(backups).filePath(kept.last()), newest);
    // Two writes within one second keep both.
    QString error;
    const QString again = writeBackup(backups, {{"ADMIN1", "x"}}, start.addSecs(22), 20, &error);
    QVERIFY(again.endsWith("_2.oxa"));
}

void TestDeviceBackup::anUnwritableFolderIsReported() {
    QTemporaryDir folder;
    QFile blocker(folder.filePath("backups"));
    QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    QString error;
    QVERIFY(writeBackup(folder.filePath("backups"), {{"ADMIN1", "1"}}, QDateTime::currentDateTime(), 20, &error).isEmpty());
    QVERIFY(!error.isEmpty());
}

QTEST_MAIN(TestDeviceBackup)
#include "tst_device_backup.moc"
