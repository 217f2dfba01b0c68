#include "configurationfile.h"
#include "inputfilters.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace oxa;

namespace oxa {
char *toString(const LoadedKeyValue &kv) {
    return QTest::toString(QByteArray(kv.key + "=" + kv.value));
}
char *toString(const RepeatedKeyRow &r) {
    return QTest::toString(r.name + " line " + QByteArray::number(r.line) + " repeats line " +
                           QByteArray::number(r.takenLine));
}
char *toString(const PhoneBookRow &r) {
    return QTest::toString(QByteArray(r.name + (r.separator ? "=" : " (no =) ") + r.phone));
}
} // namespace oxa

namespace {

ConfigurationContent startupContent() {
    ConfigurationContent c;
    c.strings = startupParameterStrings();
    return c;
}

QList<PhoneBookRow> rowsOf(const QByteArrayList &lines) {
    QList<PhoneBookRow> rows;
    for (const QByteArray &l : lines)
        rows << splitPhoneBookLine(l);
    return rows;
}

QByteArray allBytesExcept(const QByteArray &excluded) {
    QByteArray out;
    for (int b = 0; b < 256; ++b) {
        if (!excluded.contains(char(b)))
            out += char(b);
    }
    return out;
}

} // namespace

class TestConfigurationFile : public QObject {
    Q_OBJECT
private slots:
    void saveAfterStartup();
    void saveWritesRowsAfterKeyLines();
    void loadTakesKeyRows_data();
    void loadTakesKeyRows();
    void loadTakesParameterRows_data();
    void loadTakesParameterRows();
    void repeatedKeysAreNamed_data();
    void repeatedKeysAreNamed();
    void loadedPhoneNumberIsFilteredAndMirrored();
    void lineEndings_data();
    void lineEndings();
    void saveLoadRoundTrip();
    void everyByteValueRoundTrips();
    void refusesHugeInput();
    void binaryInputLoads();
    void fileAccess();
};

void TestConfigurationFile::saveAfterStartup() {
    const QByteArray expected =
        "ADMIN1=\r\nADMIN2=\r\nADMIN3=\r\nADMIN4=\r\nADMIN5=\r\nADMIN6=\r\nADMIN7=\r\n"
        "ABUTTON1=\r\nABUTTON2=\r\nABUTTON3=\r\nABUTTON4=\r\nABUTTON5=\r\nABUTTON6=\r\n"
        "ABUTTON7=\r\nBBUTTON1=\r\nBBUTTON2=\r\nBBUTTON3=\r\nBBUTTON4=\r\nBBUTTON5=\r\n"
        "BBUTTON6=\r\nBBUTTON7=\r\nALARMON=\r\nALARMOFF=\r\n"
        "PARAMOXA=4#4#0#0#1#7#2#0\r\nPARAMRL1=55#1#03#1\r\nPARAMRL2=66#1#03#1\r\n";
    QCOMPARE(buildConfigurationFile(startupContent()), expected);
}

void TestConfigurationFile::saveWritesRowsAfterKeyLines() {
    ConfigurationContent c = startupContent();
    c.editBoxValues[1] = "123";
    c.editBoxValues[22] = "Alarm off";
    c.strings.parkey = "9#1"; // not carried by the file
    c.rows = rowsOf({"Gate=555", "=", "no separator", "M12-1=777"});
    const QByteArray file = buildConfigurationFile(c);
    const QByteArrayList lines = file.split('\n');
    QCOMPARE(lines.size(), 26 + 4 + 1);
    QCOMPARE(lines[1], QByteArray("ADMIN2=123\r"));
    QCOMPARE(lines[22], QByteArray("ALARMOFF=Alarm off\r"));
    QVERIFY(file.endsWith("PARAMRL2=66#1#03#1\r\nGate=555\r\n=\r\n=no separator\r\nM12-1=777\r\n"));
    QVERIFY(!file.contains("PARKEY"));
}

void TestConfigurationFile::loadTakesKeyRows_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<LoadedKeyValue>>("values");
    QTest::addColumn<QByteArrayList>("rows");
    using Values = QList<LoadedKeyValue>;
    QTest::newRow("letter case ignored")
        << QByteArray("admin2=123\r\n") << Values{{"ADMIN2", "123"}} << QByteArrayList{};
    QTest::newRow("first row of a key wins")
        << QByteArray("ADMIN1=111\r\nGate=5\r\nADMIN1=222\r\n") << Values{{"ADMIN1", "111"}}
        << QByteArrayList{"Gate=5", "ADMIN1=222"};
    QTest::newRow("empty value empties the box")
        << QByteArray("ALARMON=\r\n") << Values{{"ALARMON", ""}} << QByteArrayList{};
    QTest::newRow("missing keys are not set")
        << QByteArray("ALARMOFF=off\r\nBBUTTON7=7\r\n") << Values{{"BBUTTON7", "7"}, {"ALARMOFF", "off"}}
        << QByteArrayList{};
    QTest::newRow("names are not trimmed")
        << QByteArray("ADMIN1 =5\r\n ADMIN1=6\r\n") << Values{} << QByteArrayList{"ADMIN1 =5", " ADMIN1=6"};
    QTest::newRow("a line without = is a row")
        << QByteArray("ADMIN1\r\n") << Values{} << QByteArrayList{"ADMIN1"};
    QTest::newRow("value split at the first =")
        << QByteArray("alarmon=a=b\r\n") << Values{{"ALARMON", "a=b"}} << QByteArrayList{};
    QTest::newRow("AABUTTON is not a key")
        << QByteArray("AABUTTON1=5\r\n") << Values{} << QByteArrayList{"AABUTTON1=5"};
}

void TestConfigurationFile::loadTakesKeyRows() {
    QFETCH(QByteArray, file);
    QFETCH(QList<LoadedKeyValue>, values);
    QFETCH(QByteArrayList, rows);
    const ConfigurationLoad load = parseConfiguration(file);
    QVERIFY(load.error.isEmpty());
    QCOMPARE(load.editBoxValues, values);
    QCOMPARE(load.parameters.size(), 0);
    QCOMPARE(load.rows, rowsOf(rows));
}

void TestConfigurationFile::loadTakesParameterRows_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<LoadedParameter>>("parameters");
    QTest::addColumn<QByteArrayList>("rows");
    using Params = QList<LoadedParameter>;
    const auto oxa = ParameterString::Oxa;
    const auto rl1 = ParameterString::Relay1;
    const auto rl2 = ParameterString::Relay2;
    const auto key = ParameterString::Key;
    QTest::newRow("saved names")
        << QByteArray("PARAMOXA=1#1#1#1#1#1#1#1\r\nPARAMRL1=5#2#03#0\r\nPARAMRL2=6#3#03#0\r\n")
        << Params{{oxa, "1#1#1#1#1#1#1#1"}, {rl1, "5#2#03#0"}, {rl2, "6#3#03#0"}} << QByteArrayList{};
    QTest::newRow("SIM names, any case, in key order")
        << QByteArray("parkey=3#1\r\nParRl2=6#3#03#0\r\nPAROXA=1#1#1#1#1#1#1#1\r\n")
        << Params{{oxa, "1#1#1#1#1#1#1#1"}, {rl2, "6#3#03#0"}, {key, "3#1"}} << QByteArrayList{};
    QTest::newRow("first row of either name wins")
        << QByteArray("PARAMRL1=5#2#03#0\r\nPARRL1=5#4#03#0\r\nparamrl1=5#0#03#0\r\n")
        << Params{{rl1, "5#2#03#0"}} << QByteArrayList{"PARRL1=5#4#03#0", "paramrl1=5#0#03#0"};
    QTest::newRow("no parameter rows")
        << QByteArray("PARAM=1\r\nPARAMKEY=2\r\n") << Params{} << QByteArrayList{"PARAM=1", "PARAMKEY=2"};
}

void TestConfigurationFile::loadTakesParameterRows() {
    QFETCH(QByteArray, file);
    QFETCH(QList<LoadedParameter>, parameters);
    QFETCH(QByteArrayList, rows);
    const ConfigurationLoad load = parseConfiguration(file);
    QVERIFY(load.error.isEmpty());
    QCOMPARE(load.parameters, parameters);
    QCOMPARE(load.rows, rowsOf(rows));
}

// A key's later rows stay rows and are named, with the line of the row taken; a UTF-8 signature counts
// only at the very start of the file.
void TestConfigurationFile::repeatedKeysAreNamed_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<RepeatedKeyRow>>("repeated");
    QTest::addColumn<QByteArrayList>("rows");
    using Repeated = QList<RepeatedKeyRow>;
    QTest::newRow("no key twice") << QByteArray("ADMIN1=1\r\nADMIN2=2\r\nGate=3\r\n") << Repeated{}
                                  << QByteArrayList{"Gate=3"};
    QTest::newRow("a box key three times, any case")
        << QByteArray("ADMIN1=1\r\nGate=3\r\nadmin1=2\r\nAdmin1=4\r\n")
        << Repeated{{"admin1", 1, 3}, {"Admin1", 1, 4}} << QByteArrayList{"Gate=3", "admin1=2", "Admin1=4"};
    QTest::newRow("a string under its saved and its SIM name")
        << QByteArray("PARAMRL1=5#2#03#0\r\nPARRL1=5#4#03#0\r\n") << Repeated{{"PARRL1", 1, 2}}
        << QByteArrayList{"PARRL1=5#4#03#0"};
    QTest::newRow("a signature, then a repeated key")
        << QByteArray("\xEF\xBB\xBF"
                      "ALARMON=on\r\nALARMON=off\r\n")
        << Repeated{{"ALARMON", 1, 2}} << QByteArrayList{"ALARMON=off"};
    QTest::newRow("a signature inside the file is text") << QByteArray("Gate=3\r\n\xEF\xBB\xBF"
                                                                       "ADMIN1=1\r\n")
                                                         << Repeated{}
                                                         << QByteArrayList{"Gate=3", "\xEF\xBB\xBF"
                                                                                     "ADMIN1=1"};
    QTest::newRow("a signature alone is an empty file")
        << QByteArray("\xEF\xBB\xBF") << Repeated{} << QByteArrayList{};
}

void TestConfigurationFile::repeatedKeysAreNamed() {
    QFETCH(QByteArray, file);
    QFETCH(QList<RepeatedKeyRow>, repeated);
    QFETCH(QByteArrayList, rows);
    const ConfigurationLoad load = parseConfiguration(file);
    QVERIFY(load.error.isEmpty());
    QCOMPARE(load.repeatedKeys, repeated);
    QCOMPARE(load.rows, rowsOf(rows));
}

// The window sets the box text and its change handler filters it and fills the mirror box.
void TestConfigurationFile::loadedPhoneNumberIsFilteredAndMirrored() {
    const ConfigurationLoad load = parseConfiguration("ABUTTON4=12a34\r\n");
    QCOMPARE(load.editBoxValues.size(), 1);
    const QString box = QString::fromLatin1(load.editBoxValues[0].key);
    QCOMPARE(box, QStringLiteral("ABUTTON4"));
    QCOMPARE(applyBoxFilter(boxFilter(box), QString::fromLatin1(load.editBoxValues[0].value)),
             QStringLiteral("12"));
    QCOMPARE(mirroredBox(box), QStringLiteral("AABUTTON4"));
}

void TestConfigurationFile::lineEndings_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArrayList>("lines");
    QTest::newRow("empty file") << QByteArray() << QByteArrayList{};
    QTest::newRow("CR LF") << QByteArray("a=1\r\nb=2\r\n") << QByteArrayList{"a=1", "b=2"};
    QTest::newRow("LF") << QByteArray("a=1\nb=2\n") << QByteArrayList{"a=1", "b=2"};
    QTest::newRow("CR") << QByteArray("a=1\rb=2\r") << QByteArrayList{"a=1", "b=2"};
    QTest::newRow("mixed, last unterminated")
        << QByteArray("a\r\nb\nc\rd") << QByteArrayList{"a", "b", "c", "d"};
    QTest::newRow("LF CR is two breaks") << QByteArray("a\n\rb") << QByteArrayList{"a", "", "b"};
    QTest::newRow("blank lines are rows") << QByteArray("\r\n\r\nx\r\n") << QByteArrayList{"", "", "x"};
}

void TestConfigurationFile::lineEndings() {
    QFETCH(QByteArray, file);
    QFETCH(QByteArrayList, lines);
    QList<QByteArray> split;
    QVERIFY(splitConfigurationLines(file, split));
    QCOMPARE(split, lines);
    QCOMPARE(parseConfiguration(file).rows, rowsOf(lines));
}

// Save, then load: every box, the three saved strings and every grid row come back, also rows whose names
// look like keys in another letter case (SIM entries the unit does not treat as keys).
void TestConfigurationFile::saveLoadRoundTrip() {
    ConfigurationContent c;
    for (std::size_t i = 0; i < c.editBoxValues.size(); ++i)
        c.editBoxValues[i] = "+4201234" + QByteArray::number(qulonglong(i));
    c.editBoxValues[5].clear();
    c.strings = {"3#5#1#1#0#3#1#5", "1#0#05#0", "9#4#99#0", "9#1"};
    c.rows = rowsOf({"Gate=555", "=", "", "admin1=junk", "PARAMOXA=old junk", "paroxa=1#1#1#1#1#1#1#1",
                     "M12-1=777", "Gate=556", "DETECT=1", "a=b=c"});
    const ConfigurationLoad load = parseConfiguration(buildConfigurationFile(c));
    QVERIFY(load.error.isEmpty());
    QCOMPARE(load.editBoxValues.size(), 23);
    for (std::size_t i = 0; i < c.editBoxValues.size(); ++i)
        QCOMPARE(load.editBoxValues[qsizetype(i)], (LoadedKeyValue{kEditBoxKeys[i], c.editBoxValues[i]}));
    QCOMPARE(load.parameters, (QList<LoadedParameter>{{ParameterString::Oxa, c.strings.paroxa},
                                                      {ParameterString::Relay1, c.strings.parrl1},
                                                      {ParameterString::Relay2, c.strings.parrl2}}));
    // Lines without "=" come back with one; everything a row shows is unchanged.
    QList<PhoneBookRow> expected = c.rows;
    for (PhoneBookRow &r : expected)
        r.separator = true;
    QCOMPARE(load.rows, expected);
}

void TestConfigurationFile::everyByteValueRoundTrips() {
    ConfigurationContent c = startupContent();
    const QByteArray text = allBytesExcept("\r\n");
    c.editBoxValues[21] = text;
    c.rows = {{allBytesExcept("=\r\n"), text, true}};
    const ConfigurationLoad load = parseConfiguration(buildConfigurationFile(c));
    QCOMPARE(load.editBoxValues[21].value, text);
    QCOMPARE(load.rows, c.rows);
    // The window shows bytes as Latin-1 characters; that mapping is lossless too.
    const QByteArray all = allBytesExcept({});
    QCOMPARE(all.size(), 256);
    QCOMPARE(QString::fromLatin1(all).toLatin1(), all);
}

void TestConfigurationFile::refusesHugeInput() {
    const QByteArray tooBig(kMaxConfigurationFileSize + 1, 'x');
    ConfigurationLoad load = parseConfiguration(tooBig);
    QVERIFY(!load.error.isEmpty());
    QVERIFY(load.rows.isEmpty() && load.editBoxValues.isEmpty() && load.parameters.isEmpty());

    load = parseConfiguration(QByteArray(kMaxConfigurationLines + 1, '\n'));
    QVERIFY(!load.error.isEmpty());
    QVERIFY(load.rows.isEmpty());

    load = parseConfiguration(QByteArray(kMaxConfigurationLines, '\n') + "ADMIN1=1");
    QVERIFY(!load.error.isEmpty());

    load = parseConfiguration(QByteArray(kMaxConfigurationLines - 1, '\n') + "ADMIN1=1");
    QVERIFY(load.error.isEmpty());
    QCOMPARE(load.rows.size(), kMaxConfigurationLines - 1);
    QCOMPARE(load.editBoxValues, (QList<LoadedKeyValue>{{"ADMIN1", "1"}}));
}

void TestConfigurationFile::binaryInputLoads() {
    QRandomGenerator random(7);
    QByteArray noise(256 * 1024, Qt::Uninitialized);
    for (char &b : noise)
        b = char(random.bounded(256));
    const ConfigurationLoad load = parseConfiguration(noise);
    QVERIFY(load.error.isEmpty());
    QList<QByteArray> lines;
    QVERIFY(splitConfigurationLines(noise, lines));
    QCOMPARE(load.rows.size() + load.editBoxValues.size() + load.parameters.size(), lines.size());
    qsizetype bytesInRows = 0;
    for (const PhoneBookRow &r : load.rows)
        bytesInRows += r.name.size() + r.phone.size() + (r.separator ? 1 : 0);
    qsizetype bytesInLines = 0;
    for (const QByteArray &l : lines)
        bytesInLines += l.size();
    QCOMPARE(bytesInRows, bytesInLines);
}

void TestConfigurationFile::fileAccess() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("unit.oxa"));
    ConfigurationContent c = startupContent();
    c.editBoxValues[0] = "+420600111222";
    c.rows = rowsOf({"Gate=555"});
    const QByteArray bytes = buildConfigurationFile(c);
    QCOMPARE(writeConfigurationFile(path, bytes), QString());
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), bytes);

    const ConfigurationLoad load = readConfigurationFile(path);
    QVERIFY(load.error.isEmpty());
    QCOMPARE(load.editBoxValues.first(), (LoadedKeyValue{"ADMIN1", "+420600111222"}));
    QCOMPARE(load.rows, rowsOf({"Gate=555"}));

    const QString missing = dir.filePath(QStringLiteral("missing.oxa"));
    const ConfigurationLoad failed = readConfigurationFile(missing);
    QVERIFY(failed.error.contains(QStringLiteral("missing.oxa")));
    QVERIFY(failed.rows.isEmpty());

    QVERIFY(readConfigurationFile(dir.path()).error.contains(QDir::toNativeSeparators(dir.path())));

    const QString noDir = dir.filePath(QStringLiteral("no/such/dir/unit.oxa"));
    QVERIFY(writeConfigurationFile(noDir, bytes).contains(QStringLiteral("unit.oxa")));
    QVERIFY(!QFile::exists(noDir));

    QFile big(dir.filePath(QStringLiteral("big.oxa")));
    QVERIFY(big.open(QIODevice::WriteOnly));
    big.write(QByteArray(kMaxConfigurationFileSize + 10, 'A'));
    big.close();
    QVERIFY(readConfigurationFile(big.fileName()).error.contains(QStringLiteral("big.oxa")));

    // A device that never ends is read only up to the limit.
    if (QFile::exists(QStringLiteral("/dev/zero")))
        QVERIFY(!readConfigurationFile(QStringLiteral("/dev/zero")).error.isEmpty());
}

QTEST_APPLESS_MAIN(TestConfigurationFile)
#include "tst_params_configfile.moc"
