// The settings file read and written as Windows reads and writes INI files: a value in quotes, a key
// written twice, and what writing a value back leaves of the lines a translator wrote.
#include "inifile.h"

#include <QTest>

using namespace oxa;

class TestSettingsFile : public QObject {
    Q_OBJECT
private slots:
    void readsValuesAsWindowsDoes_data();
    void readsValuesAsWindowsDoes();
    void writingKeepsLinesThatReadTheSame_data();
    void writingKeepsLinesThatReadTheSame();
};

void TestSettingsFile::readsValuesAsWindowsDoes_data() {
    QTest::addColumn<QByteArray>("lines"); // of section [Language]
    QTest::addColumn<QString>("run");      // what key Run reads

    QTest::newRow("double quotes") << QByteArray("Run=\"Start\"") << "Start";
    QTest::newRow("single quotes") << QByteArray("Run='Start'") << "Start";
    QTest::newRow("blanks inside quotes stay") << QByteArray("Run=\" Start \"") << " Start ";
    QTest::newRow("blanks outside quotes go") << QByteArray("Run =  \"Start\"  ") << "Start";
    QTest::newRow("one pair only") << QByteArray("Run=\"\"Start\"\"") << "\"Start\"";
    QTest::newRow("quotes that differ") << QByteArray("Run=\"Start'") << "\"Start'";
    QTest::newRow("a lone quote") << QByteArray("Run=\"") << "\"";
    QTest::newRow("empty quotes") << QByteArray("Run=\"\"") << "";
    QTest::newRow("quotes inside") << QByteArray("Run=Sta\"rt\"") << "Sta\"rt\"";
    QTest::newRow("first of two lines") << QByteArray("Run=Start\nStop=Halt\nRun=Go") << "Start";
    QTest::newRow("first of two spellings") << QByteArray("RUN=Start\nrun=Go") << "Start";
}

void TestSettingsFile::readsValuesAsWindowsDoes() {
    QFETCH(QByteArray, lines);
    QFETCH(QString, run);
    IniFile ini;
    ini.loadFromBytes("[Language]\n" + lines + "\n");
    QCOMPARE(ini.readString("Language", "Run", "default"), run);
    QVERIFY(ini.hasKey("Language", "run"));
    // A key written twice is still one key.
    QCOMPARE(ini.keys("Language").size(), lines.contains("Stop") ? 2 : 1);
}

void TestSettingsFile::writingKeepsLinesThatReadTheSame_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("written"); // written to [Language] Run
    QTest::addColumn<QByteArray>("saved");

    const QByteArray quoted = "[Language]\r\nRun=\"Start\"\r\n";
    QTest::newRow("quoted value written back") << quoted << "Start" << quoted;
    QTest::newRow("new value needs no quotes") << quoted << "Go" << QByteArray("[Language]\r\nRun=Go\r\n");
    QTest::newRow("blanks at the ends are quoted")
        << quoted << " Go " << QByteArray("[Language]\r\nRun=\" Go \"\r\n");
    QTest::newRow("a value in quotes is quoted again")
        << quoted << "'Go'" << QByteArray("[Language]\r\nRun=\"'Go'\"\r\n");
    QTest::newRow("a lone quote needs none") << quoted << "\"" << QByteArray("[Language]\r\nRun=\"\r\n");
    QTest::newRow("empty value") << quoted << "" << QByteArray("[Language]\r\nRun=\r\n");

    const QByteArray twice = "[Language]\nRun=Start\nRun=Go\n";
    QTest::newRow("first line unchanged, both kept") << twice << "Start" << twice;
    QTest::newRow("first line changed, second kept")
        << twice << "Halt" << QByteArray("[Language]\nRun=Halt\nRun=Go\n");
    // The library writes a key's lines together: the later line moves up below the first, which is
    // still the one read.
    QTest::newRow("second line joins the first")
        << QByteArray("[Language]\nRun=Start\nStop=Halt\nRun=Go\n") << "Start"
        << QByteArray("[Language]\nRun=Start\nRun=Go\nStop=Halt\n");
    QTest::newRow("comments stay with their lines")
        << QByteArray("[Language]\n; first\nRun=Start\n; second\nRun=Go\n") << "Halt"
        << QByteArray("[Language]\n\n; first\nRun=Halt\n\n; second\nRun=Go\n");

    QTest::newRow("key keeps its spelling")
        << QByteArray("[language]\nrun=\"Start\"\n") << "Go" << QByteArray("[language]\nrun=Go\n");
    QTest::newRow("missing key is added")
        << QByteArray("[Language]\nStop=Halt\n") << "Go" << QByteArray("[Language]\nStop=Halt\nRun=Go\n");
}

void TestSettingsFile::writingKeepsLinesThatReadTheSame() {
    QFETCH(QByteArray, file);
    QFETCH(QString, written);
    QFETCH(QByteArray, saved);
    IniFile ini;
    ini.loadFromBytes(file);
    ini.writeString("Language", "Run", written);
    QCOMPARE(ini.toBytes(), saved);
    QCOMPARE(ini.readString("Language", "Run", "default"), written);
    IniFile reloaded;
    reloaded.loadFromBytes(saved);
    QCOMPARE(reloaded.readString("Language", "Run", "default"), written);
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
