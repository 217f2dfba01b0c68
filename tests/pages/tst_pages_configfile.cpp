// Save and Load of the configuration file through the window.
#include "pageswindow.h"

#include "configurationfile.h"
#include "fieldcheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace oxa;
using namespace oxa::test;

class TestConfigurationFilePages : public QObject {
    Q_OBJECT
private slots:
    void saveRightAfterStartup();
    void saveAddsTheFilterExtension_data();
    void saveAddsTheFilterExtension();
    void cancelledDialogsChangeNothing();
    void loadMakesTheFirstRowCurrentFirst();
    void load_data();
    void load();
    void loadTakesParameterRowsAndDecodes_data();
    void loadTakesParameterRowsAndDecodes();
    void saveThenLoadRestoresEverything_data();
    void saveThenLoadRestoresEverything();
    void badFileLeavesTheWindowAsItWas_data();
    void badFileLeavesTheWindowAsItWas();
    void failedSaveIsReported();
};

namespace {

const QString Filter = QStringLiteral("OXA files (*.oxa)");

QByteArray readAll(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

void saveFile(PagesWindow &w, const QString &path) {
    w.fakes.dialogs.saveAnswers.enqueue(path);
    w.button("Save")->click();
}

void loadFile(PagesWindow &w, const QString &path) {
    w.fakes.dialogs.openAnswers.enqueue(path);
    w.button("Load")->click();
}

QByteArray startupFile() {
    QByteArray bytes;
    for (const char *key : kEditBoxKeys)
        bytes += QByteArray(key) + "=\r\n";
    return bytes + "PARAMOXA=4#4#0#0#1#7#2#0\r\nPARAMRL1=55#1#03#1\r\nPARAMRL2=66#1#03#1\r\n";
}

} // namespace

void TestConfigurationFilePages::saveRightAfterStartup() {
    PagesWindow w;
    const QString path = w.filePath(QStringLiteral("fresh.oxa"));
    saveFile(w, path);
    QCOMPARE(w.fakes.dialogs.filters, QStringList{Filter});
    // The one empty row an empty grid shows is no phone-book row: the file has no line for it.
    QCOMPARE(w.gridLines(), QStringList{"|"});
    QCOMPARE(readAll(path), startupFile());

    // The grid's rows follow the key lines; an empty row is a lone "=". An existing file is replaced.
    w.form->appendPhoneBookRow("Gate", "555");
    w.button("LineIn")->click();
    saveFile(w, path);
    QCOMPARE(readAll(path), startupFile() + "=\r\nGate=555\r\n");
    QCOMPARE(w.fakes.errors.messages, QStringList());
}

void TestConfigurationFilePages::saveAddsTheFilterExtension_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("saved");
    // Without an extension the file would not show in Load's dialog, which lists *.oxa.
    QTest::newRow("no extension") << "gate"
                                  << "gate.oxa";
    QTest::newRow("the filter's") << "gate.oxa"
                                  << "gate.oxa";
    QTest::newRow("another one, as typed") << "gate.cfg"
                                           << "gate.cfg";
}

void TestConfigurationFilePages::saveAddsTheFilterExtension() {
    QFETCH(QString, chosen);
    QFETCH(QString, saved);
    PagesWindow w;
    w.edit("ADMIN1")->setText("+420600111222");
    saveFile(w, w.filePath(chosen));
    QCOMPARE(QDir(w.folder.path()).entryList({"*.oxa", "*.cfg", "gate"}, QDir::Files), QStringList{saved});
    QVERIFY(readAll(w.filePath(saved)).startsWith("ADMIN1=+420600111222\r\n"));
}

void TestConfigurationFilePages::cancelledDialogsChangeNothing() {
    PagesWindow w;
    w.form->appendPhoneBookRow("Gate", "555");
    w.edit("ADMIN1")->setText("123");
    const QStringList before = w.snapshot();
    w.button("Save")->click();
    w.button("Load")->click();
    QCOMPARE(w.fakes.dialogs.filters, (QStringList{Filter, Filter}));
    QCOMPARE(w.snapshot(), before);
    QCOMPARE(w.fakes.errors.messages, QStringList());
}

// The first row becomes the current one as soon as Load is pressed, whatever the dialog answers.
void TestConfigurationFilePages::loadMakesTheFirstRowCurrentFirst() {
    PagesWindow w;
    w.form->appendPhoneBookRow("Gate", "555");
    w.form->appendPhoneBookRow("Home", "666");
    w.grid()->setCurrentCell(1, 1);
    w.button("Load")->click();
    QCOMPARE(w.fakes.dialogs.filters, QStringList{Filter});
    QCOMPARE(w.grid()->currentRow(), 0);
    QCOMPARE(w.grid()->currentColumn(), 1);
    QCOMPARE(w.gridLines(), (QStringList{"Gate|555", "Home|666"}));
}

void TestConfigurationFilePages::load_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("boxes"); // "name=text" of boxes that must show the text afterwards
    QTest::addColumn<QStringList>("grid");
    QTest::addColumn<QString>("message"); // what the one message after loading says; empty: none

    QTest::newRow("key names ignore letter case")
        << QByteArray("admin2=123\r\n") << QStringList{"ADMIN2=123", "ADMIN1=999"} << QStringList{"|"}
        << QString();
    // The later row is named: a write would store it as an entry of its own.
    QTest::newRow("first row of a key wins")
        << QByteArray("ADMIN1=111\r\nGate=5\r\nadmin1=222\r\n") << QStringList{"ADMIN1=111"}
        << QStringList{"Gate|5", "admin1|222"} << QStringLiteral("line 3 (admin1) repeats the key of line 1");
    // An editor's mark before the first key is no part of its name.
    QTest::newRow("UTF-8 signature before the first key")
        << QByteArray("\xEF\xBB\xBF"
                      "ADMIN1=111\r\nGate=5\r\n")
        << QStringList{"ADMIN1=111"} << QStringList{"Gate|5"} << QString();
    QTest::newRow("filter and mirror run")
        << QByteArray("ABUTTON4=12a34\r\n") << QStringList{"ABUTTON4=12", "AABUTTON4=12"} << QStringList{"|"}
        << QString();
    QTest::newRow("empty value empties the box")
        << QByteArray("ADMIN1=\r\nALARMOFF=\n") << QStringList{"ADMIN1=", "ALARMOFF="} << QStringList{"|"}
        << QString();
    QTest::newRow("missing key leaves its box")
        << QByteArray("ADMIN3=3") << QStringList{"ADMIN3=3", "ALARMON=Door open", "ALARMOFF=Door shut"}
        << QStringList{"|"} << QString();
    QTest::newRow("line ends CR, LF, CR LF")
        << QByteArray("BBUTTON7=7\rGate=1\nHome=2\r\n\r\nALARMON= on = yes ")
        << QStringList{"BBUTTON7=7", "ALARMON= on = yes "} << QStringList{"Gate|1", "Home|2", "|"}
        << QString();
    QTest::newRow("other lines are rows")
        << QByteArray("just text\r\n=\r\nB1#1=X[2]\r\n") << QStringList{"ADMIN1=999"}
        << QStringList{"|just text", "|", "B1#1|X[2]"} << QString();
    QTest::newRow("a key mirrored from the single-button page is a row")
        << QByteArray("AABUTTON2=55\r\n") << QStringList{"ABUTTON2=", "AABUTTON2="}
        << QStringList{"AABUTTON2|55"} << QString();
}

void TestConfigurationFilePages::load() {
    QFETCH(QByteArray, file);
    QFETCH(QStringList, boxes);
    QFETCH(QStringList, grid);
    QFETCH(QString, message);
    PagesWindow w;
    w.edit("ADMIN1")->setText("999");
    w.edit("ALARMON")->setText("Door open");
    w.edit("ALARMOFF")->setText("Door shut");
    w.form->appendPhoneBookRow("Replaced", "1");
    const QByteArrayList strings = w.strings();
    const QString path = w.filePath(QStringLiteral("in.oxa"));
    writeFile(path, file);
    loadFile(w, path);
    for (const QString &box : boxes) {
        const qsizetype eq = box.indexOf('=');
        QCOMPARE(w.edit(box.left(eq))->text(), box.mid(eq + 1));
    }
    QCOMPARE(w.gridLines(), grid);
    QCOMPARE(w.grid()->currentRow(), 0);
    QCOMPARE(w.strings(), strings); // no parameter row: the strings are not touched, nothing decoded
    QCOMPARE(w.checkedButtons(), QStringList());
    if (message.isEmpty()) {
        QCOMPARE(w.fakes.errors.messages, QStringList());
    } else {
        QCOMPARE(w.fakes.errors.messages.size(), 1);
        QVERIFY2(w.fakes.errors.messages.first().contains(message),
                 qPrintable(w.fakes.errors.messages.first()));
    }
}

void TestConfigurationFilePages::loadTakesParameterRowsAndDecodes_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArrayList>("strings");
    QTest::addColumn<QStringList>("checked");
    QTest::addColumn<QStringList>("grid");
    QTest::addColumn<int>("messages"); // the second PARAMOXA is named
    // The names this program saves...
    QTest::newRow("saved names") << QByteArray("PARAMOXA=4#4#2#0#0#0#1#0\r\nPARAMRL1=5#3#03#0\r\n"
                                               "PARAMRL2=6#4#03#0\r\nPARAMOXA=1#1#1#1#1#1#1#1\r\n")
                                 << QByteArrayList{"4#4#2#0#0#0#1#0", "5#3#03#0", "6#4#03#0", "2#0"}
                                 << QStringList{"AllCall", "PortEtons", "RelLi1", "RelBut2"}
                                 << QStringList{"PARAMOXA|1#1#1#1#1#1#1#1"} << 1;
    // ...and the names the unit uses, PARKEY included, in any letter case.
    QTest::newRow("unit names") << QByteArray("Gate=1\r\nparoxa=4#4#1#0#0#0#2#0\r\nPARRL2=6#2#03#0\r\n"
                                              "ParKey=3#1\r\nPARRL1=7#4#09#0\r\n")
                                << QByteArrayList{"4#4#1#0#0#0#2#0", "7#4#09#0", "6#2#03#0", "3#1"}
                                << QStringList{"SIMCall", "PortESMS", "DirectCall", "RelBut1", "RelCam2"}
                                << QStringList{"Gate|1"} << 0;
    // A file that has only the relay line: the held start-up texts are decoded with it, the short relay
    // text of relay 2 is replaced by its fallback.
    QTest::newRow("one line") << QByteArray("PARAMRL1=5#0#03#0\r\n")
                              << QByteArrayList{"4#4#0#0#1#7#2#0", "5#0#03#0", "6#1#03#1", "2#0"}
                              << QStringList{"NoCall",   "ClockGSM", "TonBeep", "TonRing", "TonVoice",
                                             "PortESMS", "RelSMS1",  "RelSW2",  "RelRing2"}
                              << QStringList{"|"} << 0;
}

void TestConfigurationFilePages::loadTakesParameterRowsAndDecodes() {
    QFETCH(QByteArray, file);
    QFETCH(QByteArrayList, strings);
    QFETCH(QStringList, checked);
    QFETCH(QStringList, grid);
    QFETCH(int, messages);
    PagesWindow w;
    const QString path = w.filePath(QStringLiteral("params.oxa"));
    writeFile(path, file);
    loadFile(w, path);
    QCOMPARE(w.strings(), strings);
    QStringList expected;
    for (const QString &name : settingsControlNames())
        if (checked.contains(name))
            expected << name;
    QCOMPARE(w.checkedButtons(), expected);
    QCOMPARE(w.gridLines(), grid);
    QCOMPARE(w.fakes.errors.messages.size(), messages);
}

void TestConfigurationFilePages::saveThenLoadRestoresEverything_data() {
    QTest::addColumn<QByteArrayList>("strings");
    QTest::newRow("many set") << QByteArrayList{"3#5#1#1#1#6#1#9", "9#4#99#0", "0#5#01#1", "9#1"};
    QTest::newRow("ringing relay 1") << QByteArrayList{"7#1#2#0#1#3#0#4", "4#1#45#1", "1#3#02#0", "1#0"};
    QTest::newRow("start-up") << QByteArrayList{"4#4#0#0#1#7#2#0", "55#1#03#1", "66#1#03#1", "2#0"};
}

// Every edit box, the settings of the three saved strings and every row, with all 256 byte values.
void TestConfigurationFilePages::saveThenLoadRestoresEverything() {
    QFETCH(QByteArrayList, strings);
    // Every byte a value can hold: all but the control bytes and the characters that would break the
    // unit's command (a file holding those is refused, see below).
    QByteArray text;
    for (int b = 32; b < 256; ++b)
        if (!isCommandBreakingByte(char(b)))
            text += char(b);
    QByteArray name = text; // a name ends at its "="
    name.replace('=', "");

    PagesWindow saved;
    saved.setStrings(strings[0], strings[1], strings[2], strings[3]);
    saved.form->DecodeParameters();
    for (int n = 1; n <= 7; ++n) {
        saved.edit("ADMIN" + QString::number(n))->setText("+42060011122" + QString::number(n));
        saved.edit("ABUTTON" + QString::number(n))->setText("*#" + QString::number(n * 1111));
        saved.edit("BBUTTON" + QString::number(n))->setText(QString::number(n));
    }
    saved.edit("ADMIN5")->clear();
    saved.edit("ALARMON")->setText(saved.form->codePage().decode(text));
    saved.edit("ALARMOFF")->setText(QStringLiteral("  off = yes  "));
    saved.form->appendPhoneBookRow(name, text);
    saved.form->appendPhoneBookRow("Gate", "+420600111222");
    saved.form->appendPhoneBookRow("", "");
    saved.form->appendPhoneBookRow("M1#2", "Memo[+420600]");
    saved.form->appendPhoneBookRow(" admin1 ", "9");
    const QString path = saved.filePath(QStringLiteral("round.oxa"));
    saveFile(saved, path);

    PagesWindow loaded;
    loaded.form->appendPhoneBookRow("Old", "1");
    loaded.edit("ADMIN5")->setText("5");
    loadFile(loaded, path);

    QCOMPARE(loaded.form->codePage().encode(loaded.edit("ALARMON")->text()), std::optional<QByteArray>(text));
    QCOMPARE(loaded.form->phoneBookRows(), saved.form->phoneBookRows());
    // The keyboard parameters (WaitBUF, DirectCall, PARKEY) are not in the file: everything else is.
    const auto withoutKeyboard = [](PagesWindow &w) {
        QStringList all = w.snapshot();
        all.removeLast();
        all.removeIf([](const QString &s) { return s.startsWith("WaitBUF=") || s == "DirectCall"; });
        return all;
    };
    QCOMPARE(withoutKeyboard(loaded), withoutKeyboard(saved));
    QCOMPARE(saved.fakes.errors.messages, QStringList());
    QCOMPARE(loaded.fakes.errors.messages, QStringList());

    // Saved again, the file is the same byte for byte.
    const QString again = loaded.filePath(QStringLiteral("again.oxa"));
    saveFile(loaded, again);
    QCOMPARE(readAll(again), readAll(path));
}

void TestConfigurationFilePages::badFileLeavesTheWindowAsItWas_data() {
    QTest::addColumn<QString>("fileName"); // in the window's folder
    QTest::addColumn<QByteArray>("bytes"); // null: no such file is made
    QTest::newRow("missing") << "missing.oxa" << QByteArray();
    QTest::newRow("folder") << "." << QByteArray();
    QTest::newRow("huge") << "huge.oxa" << QByteArray(kMaxConfigurationFileSize + 1, 'A');
    QTest::newRow("too many lines") << "lines.oxa" << QByteArray(kMaxConfigurationLines + 1, '\n');
    QByteArray binary;
    for (int i = 0; i < 64 * 1024; ++i)
        binary += char((i * 7919) % 251);
    QTest::newRow("binary") << "picture.png" << binary;
}

void TestConfigurationFilePages::badFileLeavesTheWindowAsItWas() {
    QFETCH(QString, fileName);
    QFETCH(QByteArray, bytes);
    PagesWindow w;
    w.setStrings("3#5#1#1#1#6#1#9", "9#4#99#0", "0#5#01#1", "9#1");
    w.form->DecodeParameters();
    w.edit("ADMIN1")->setText("123");
    w.edit("ALARMON")->setText("on");
    w.form->appendPhoneBookRow("Gate", "555");
    w.form->appendPhoneBookRow("Home", "666");
    w.grid()->setCurrentCell(1, 1);
    QStringList before = w.snapshot();
    // Load makes the first row current before it asks for the file.
    before.replace(before.indexOf("current=1"), "current=0");

    const QString path = fileName == "." ? w.folder.path() : w.filePath(fileName);
    if (!bytes.isNull())
        writeFile(path, bytes);
    loadFile(w, path);
    QCOMPARE(w.snapshot(), before);
    QCOMPARE(w.fakes.errors.messages.size(), 1);
    QVERIFY2(w.fakes.errors.messages.first().contains(QDir::toNativeSeparators(path)),
             qPrintable(w.fakes.errors.messages.first()));
}

void TestConfigurationFilePages::failedSaveIsReported() {
    PagesWindow w;
    const QString existing = w.filePath(QStringLiteral("kept.oxa"));
    writeFile(existing, "ADMIN1=1\r\n");
    const QString noFolder = w.filePath(QStringLiteral("no/such/folder/unit.oxa"));
    saveFile(w, noFolder);
    QCOMPARE(w.fakes.errors.messages.size(), 1);
    QVERIFY(w.fakes.errors.messages.first().contains(QDir::toNativeSeparators(noFolder)));
    QVERIFY(!QFile::exists(noFolder));

    // A folder in the way of the file: reported, nothing else written.
    const QString folder = w.filePath(QStringLiteral("in the way.oxa"));
    QVERIFY(QDir().mkpath(folder));
    saveFile(w, folder);
    QCOMPARE(w.fakes.errors.messages.size(), 2);
    QVERIFY(QFileInfo(folder).isDir());
    QCOMPARE(readAll(existing), QByteArray("ADMIN1=1\r\n"));
}

QTEST_MAIN(TestConfigurationFilePages)
#include "tst_pages_configfile.moc"
