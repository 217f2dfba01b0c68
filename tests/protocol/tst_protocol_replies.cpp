// The reply table and the fields that the receive handler takes out of the unit's lines.
#include "codepagecodec.h"
#include "replies.h"

#include <QRandomGenerator>
#include <QTest>

using oxa::ReplyKind;
using oxa::SignalColour;

Q_DECLARE_METATYPE(ReplyKind)
Q_DECLARE_METATYPE(SignalColour)

class TestReplies : public QObject {
    Q_OBJECT

private slots:
    void classify_data();
    void classify();
    void lineTests_data();
    void lineTests();
    void decimal_data();
    void decimal();
    void battery_data();
    void battery();
    void signalLevel_data();
    void signalLevel();
    void signalColours_data();
    void signalColours();
    void simSize_data();
    void simSize();
    void operatorName_data();
    void operatorName();
    void entryCut_data();
    void entryCut();
    void entryCutKeepsEveryByte();
    void garbageNeverCrashes();
    void version_data();
    void version();
};

void TestReplies::classify_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("asendPending");
    QTest::addColumn<ReplyKind>("kind");

    const auto row = [](const char *name, const QByteArray &line, bool asend, ReplyKind kind) {
        QTest::newRow(name) << line << asend << kind;
    };
    row("OK", "OK", false, ReplyKind::Ok);
    row("OK is whole-line", " OK", false, ReplyKind::Other);
    row("OK is case-sensitive", "ok", false, ReplyKind::Other);
    row("OK with trailing blank", "OK ", false, ReplyKind::Other);
    row("STOP", "STOP", false, ReplyKind::StopReport);
    row("STOP is whole-line", "STOPPED", false, ReplyKind::Other);
    row("APLAYEV", "#APLAYEV: 0,1", false, ReplyKind::StopReport);
    row("APLAYEV before CSQ", "+CSQ: 15,0 #APLAYEV:", false, ReplyKind::StopReport);
    row("Telit", "Telit", false, ReplyKind::Telit);
    row("Telit is whole-line", "Telit LE910", false, ReplyKind::Other);
    row("SLED", "[AT#SLED=1]=", false, ReplyKind::SledReport);
    row("ASENDEV pending", "#ASENDEV: 1", true, ReplyKind::AsendDone);
    row("ASENDEV not pending", "#ASENDEV: 1", false, ReplyKind::Other);
    row("ASENDEV not pending falls to CBC", "#ASENDEV: #CBC: 0,400", false, ReplyKind::Battery);
    row("APLAYEV before ASENDEV", "#ASENDEV: #APLAYEV:", true, ReplyKind::StopReport);
    row("OK while ASEND pending", "OK", true, ReplyKind::Ok);
    row("CREG 0,1", "+CREG: 0,1", false, ReplyKind::Creg);
    row("CREG 0,5", "+CREG: 0,5", false, ReplyKind::Creg);
    row("CREG 0,2", "+CREG: 0,2", false, ReplyKind::Other);
    row("CREG with more fields", "+CREG: 0,1,\"00C3\"", false, ReplyKind::Other);
    row("CBC", "#CBC: 0,405", false, ReplyKind::Battery);
    row("CBC before CSQ", "#CBC: +CSQ: 1,2", false, ReplyKind::Battery);
    row("CSQ", "+CSQ: 15,0", false, ReplyKind::Signal);
    row("CSQ before CPBR", "+CSQ: +CPBR: (1-9)", false, ReplyKind::Signal);
    row("CPBR range", "+CPBR: (1-250),40,16", false, ReplyKind::SimSize);
    row("CPBR range before entry", "+CPBR: (1-10)", false, ReplyKind::SimSize);
    row("CPBR entry", "+CPBR: 1,\"+420603\",145,\"ADMIN1\"", false, ReplyKind::Entry);
    row("CPBR without colon", "+CPBR", false, ReplyKind::Entry);
    row("CPBR entry named SPN", "+CPBR: 5,\"1\",129,\"#SPN\"", false, ReplyKind::Entry);
    row("CPBR entry named COPS", "+CPBR: 5,\"1\",129,\"COPS\"", false, ReplyKind::Entry);
    row("SPN", "#SPN: T-Mobile CZ", false, ReplyKind::Operator);
    row("SPN before COPS", "#SPN: COPS", false, ReplyKind::Operator);
    row("COPS", "+COPS: 0,0,\"O2\"", false, ReplyKind::Cops);
    row("empty line", "", false, ReplyKind::Other);
    row("ERROR", "ERROR", false, ReplyKind::Other);
    row("SMSATWL still tested", "#SMSATWL: +CSQ: 20,0", false, ReplyKind::Signal);
    row("SMSATWL alone", "#SMSATWL: 1", false, ReplyKind::Other);
    row("tone line", "AT#tone=i,4]", false, ReplyKind::Other);
}

void TestReplies::classify() {
    QFETCH(QByteArray, line);
    QFETCH(bool, asendPending);
    QFETCH(ReplyKind, kind);
    QCOMPARE(oxa::classifyReply(line, asendPending), kind);
}

void TestReplies::lineTests_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("logged");
    QTest::addColumn<bool>("runTone");
    QTest::addColumn<bool>("lte");
    QTest::addColumn<bool>("error");

    QTest::newRow("plain") << QByteArray("OK") << true << false << false << false;
    QTest::newRow("SMSATWL") << QByteArray("#SMSATWL: 3") << false << false << false << false;
    QTest::newRow("tone") << QByteArray("[AT#tone=i,4]") << true << true << false << false;
    QTest::newRow("APLAYEV") << QByteArray("#APLAYEV: 1") << true << false << true << false;
    QTest::newRow("ERROR") << QByteArray("ERROR") << true << false << false << true;
    QTest::newRow("CME") << QByteArray("+CME ERROR: 21") << true << false << false << true;
    QTest::newRow("CMS") << QByteArray("+CMS ERROR: 500") << true << false << false << true;
    QTest::newRow("not an error") << QByteArray("NO ERROR") << true << false << false << false;
}

void TestReplies::lineTests() {
    QFETCH(QByteArray, line);
    QFETCH(bool, logged);
    QFETCH(bool, runTone);
    QFETCH(bool, lte);
    QFETCH(bool, error);
    QCOMPARE(oxa::isLoggedLine(line), logged);
    QCOMPARE(oxa::showsRunTone(line), runTone);
    QCOMPARE(oxa::reportsLteModule(line), lte);
    QCOMPARE(oxa::isErrorReply(line), error);
}

void TestReplies::decimal_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");

    QTest::newRow("digits") << QByteArray("405") << true << 405;
    QTest::newRow("blanks") << QByteArray("  31 ") << true << 31;
    QTest::newRow("sign") << QByteArray("-7") << true << -7;
    QTest::newRow("largest") << QByteArray("2147483647") << true << 2147483647;
    QTest::newRow("smallest") << QByteArray("-2147483648") << true << int(-2147483648LL);
    QTest::newRow("overflow") << QByteArray("2147483648") << false << 0;
    QTest::newRow("huge") << QByteArray(400, '9') << false << 0;
    QTest::newRow("empty") << QByteArray() << false << 0;
    QTest::newRow("blank") << QByteArray("  ") << false << 0;
    QTest::newRow("sign only") << QByteArray("-") << false << 0;
    QTest::newRow("letters") << QByteArray("4O5") << false << 0;
    QTest::newRow("inner blank") << QByteArray("4 05") << false << 0;
    QTest::newRow("hex") << QByteArray("0x1F") << false << 0;
    QTest::newRow("high byte") << QByteArray("4\xb2") << false << 0;
}

void TestReplies::decimal() {
    QFETCH(QByteArray, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    const auto parsed = oxa::parseDecimal(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, value);
}

void TestReplies::battery_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QString>("caption");

    QTest::newRow("405") << QByteArray("#CBC: 0,405") << true << 405 << " board voltage: 4050 mV"
                         << "4050 mV";
    QTest::newRow("field kept as sent")
        << QByteArray("#CBC: 1, 380") << true << 380 << " board voltage:  3800 mV"
        << " 3800 mV";
    QTest::newRow("below the bar") << QByteArray("#CBC: 0,0") << true << 0 << " board voltage: 00 mV"
                                   << "00 mV";
    QTest::newRow("no comma") << QByteArray("#CBC: 0") << false << 0 << QString() << QString();
    QTest::newRow("empty field") << QByteArray("#CBC: 0,") << false << 0 << QString() << QString();
    QTest::newRow("not a number") << QByteArray("#CBC: 0,4.05V") << false << 0 << QString() << QString();
    QTest::newRow("third field") << QByteArray("#CBC: 0,405,1") << false << 0 << QString() << QString();
}

void TestReplies::battery() {
    QFETCH(QByteArray, line);
    QFETCH(bool, valid);
    QFETCH(int, value);
    QFETCH(QString, panel);
    QFETCH(QString, caption);
    const auto reading = oxa::parseBattery(line);
    QCOMPARE(reading.has_value(), valid);
    if (!valid)
        return;
    QCOMPARE(reading->value, value);
    QCOMPARE(oxa::batteryPanelText(*reading), panel);
    QCOMPARE(oxa::voltageCaption(*reading), caption);
}

void TestReplies::signalLevel_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("level");

    QTest::newRow("15") << QByteArray("+CSQ: 15,0") << true << 15;
    QTest::newRow("99") << QByteArray("+CSQ: 99,99") << true << 99;
    QTest::newRow("blanks") << QByteArray("+CSQ:  7 ,3") << true << 7;
    QTest::newRow("prefix before") << QByteArray("x +CSQ: 22,0") << true << 22;
    QTest::newRow("no comma") << QByteArray("+CSQ: 15") << false << 0;
    QTest::newRow("empty level") << QByteArray("+CSQ: ,0") << false << 0;
    QTest::newRow("not a number") << QByteArray("+CSQ: high,0") << false << 0;
}

void TestReplies::signalLevel() {
    QFETCH(QByteArray, line);
    QFETCH(bool, valid);
    QFETCH(int, level);
    const auto parsed = oxa::parseSignalLevel(line);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, level);
}

void TestReplies::signalColours_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<SignalColour>("colour");
    QTest::addColumn<quint32>("rgb");
    QTest::addColumn<int>("meter");

    const quint32 red = 0xff0000, cyan = 0x00ffff, lime = 0x00ff00;
    QTest::newRow("99 no measurement") << 99 << SignalColour::Red << red << 31;
    QTest::newRow("0") << 0 << SignalColour::Red << red << 0;
    QTest::newRow("14") << 14 << SignalColour::Red << red << 14;
    QTest::newRow("15") << 15 << SignalColour::Cyan << cyan << 15;
    QTest::newRow("21") << 21 << SignalColour::Cyan << cyan << 21;
    QTest::newRow("22") << 22 << SignalColour::Lime << lime << 22;
    QTest::newRow("31") << 31 << SignalColour::Lime << lime << 31;
    QTest::newRow("32") << 32 << SignalColour::Red << red << 31;
    QTest::newRow("negative") << -3 << SignalColour::Red << red << 0;
}

void TestReplies::signalColours() {
    QFETCH(int, level);
    QFETCH(SignalColour, colour);
    QFETCH(quint32, rgb);
    QFETCH(int, meter);
    QCOMPARE(oxa::signalColour(level), colour);
    QCOMPARE(oxa::signalRgb(level), rgb);
    QCOMPARE(oxa::signalMeterValue(level), meter);
}

void TestReplies::simSize_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("readsEntries");

    QTest::newRow("10 reads nothing") << QByteArray("+CPBR: (1-10),40,16") << true << 10 << false;
    QTest::newRow("11 reads") << QByteArray("+CPBR: (1-11),40,16") << true << 11 << true;
    QTest::newRow("250") << QByteArray("+CPBR: (1-250),40,16") << true << 250 << true;
    QTest::newRow("blanks") << QByteArray("+CPBR: (1- 250 ),40,16") << true << 250 << true;
    QTest::newRow("empty") << QByteArray("+CPBR: (1-),40,16") << false << 0 << false;
    QTest::newRow("no bracket") << QByteArray("+CPBR: (1-250") << false << 0 << false;
    QTest::newRow("not a number") << QByteArray("+CPBR: (1-2x0)") << false << 0 << false;
    QTest::newRow("overflow") << QByteArray("+CPBR: (1-99999999999)") << false << 0 << false;
}

void TestReplies::simSize() {
    QFETCH(QByteArray, line);
    QFETCH(bool, valid);
    QFETCH(int, size);
    QFETCH(bool, readsEntries);
    const auto parsed = oxa::parseSimSize(line);
    QCOMPARE(parsed.has_value(), valid);
    if (!valid)
        return;
    QCOMPARE(*parsed, size);
    QCOMPARE(oxa::simSizeReadsEntries(*parsed), readsEntries);
    QCOMPARE(oxa::simPanelText(*parsed), QStringLiteral(" SIM: ") + QString::number(size));
}

void TestReplies::operatorName_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("panel");

    QTest::newRow("leading blank kept")
        << QByteArray("#SPN: T-Mobile CZ") << QByteArray(" T-Mobile CZ") << "Operator:  T-Mobile CZ";
    QTest::newRow("first colon only") << QByteArray("#SPN: A:B") << QByteArray(" A:B") << "Operator:  A:B";
    QTest::newRow("no colon") << QByteArray("#SPN") << QByteArray("#SPN") << "Operator: #SPN";
    QTest::newRow("nothing after") << QByteArray("#SPN:") << QByteArray() << "Operator: ";
    QTest::newRow("high bytes") << QByteArray("#SPN: \xe8"
                                              "ez")
                                << QByteArray(" \xe8"
                                              "ez")
                                << QStringLiteral("Operator:  čez");
}

void TestReplies::operatorName() {
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, name);
    QFETCH(QString, panel);
    QCOMPARE(oxa::operatorText(line), name);
    // The window decodes the name in its code page (here Windows-1250) before the panel shows it.
    QCOMPARE(oxa::operatorPanelText(oxa::CodePageCodec::forName("windows-1250")->decode(name)), panel);
}

void TestReplies::entryCut_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("number");
    QTest::addColumn<QByteArray>("name");

    const auto ok = [](const char *tag, const QByteArray &line, int index, const QByteArray &number,
                       const QByteArray &name) {
        QTest::newRow(tag) << line << true << index << number << name;
    };
    const auto bad = [](const char *tag, const QByteArray &line) {
        QTest::newRow(tag) << line << false << 0 << QByteArray() << QByteArray();
    };
    ok("key", "+CPBR: 1,\"+420603123456\",145,\"ADMIN1\"", 1, "+420603123456", "ADMIN1");
    ok("index trimmed", "+CPBR:  12 ,\"5\",129,\"Jan\"", 12, "5", "Jan");
    ok("empty number and name", "+CPBR: 3,\"\",129,\"\"", 3, "", "");
    ok("commas inside", "+CPBR: 4,\"1,2\",129,\"a,b\"", 4, "1,2", "a,b");
    ok("colon in number", "+CPBR: 5,\"12:30\",129,\"T\"", 5, "12:30", "T");
    ok("parameter string", "+CPBR: 24,\"1#2#0#1#15#3#0\",129,\"PAROXA\"", 24, "1#2#0#1#15#3#0", "PAROXA");
    ok("no type field", "+CPBR: 6,\"7\",\"N\"", 6, "7", "N");
    ok("text after name", "+CPBR: 7,\"7\",129,\"N\",0,\"x\"", 7, "7", "N");
    ok("blank name", "+CPBR: 8,\"9\",129,\" \"", 8, "9", " ");
    bad("no colon", "+CPBR 1,\"2\",129,\"N\"");
    bad("no comma", "+CPBR: 1");
    bad("empty index", "+CPBR: ,\"2\",129,\"N\"");
    bad("index not a number", "+CPBR: x,\"2\",129,\"N\"");
    bad("negative index", "+CPBR: -1,\"2\",129,\"N\"");
    bad("no quotes", "+CPBR: 1,2,129,N");
    bad("number unterminated", "+CPBR: 1,\"2");
    bad("no comma after number", "+CPBR: 1,\"2\"");
    bad("name unquoted", "+CPBR: 1,\"2\",129,N");
    bad("name unterminated", "+CPBR: 1,\"2\",129,\"N");
}

void TestReplies::entryCut() {
    QFETCH(QByteArray, line);
    QFETCH(bool, valid);
    QFETCH(int, index);
    QFETCH(QByteArray, number);
    QFETCH(QByteArray, name);
    const auto entry = oxa::parseEntryLine(line);
    QCOMPARE(entry.has_value(), valid);
    if (!valid)
        return;
    QCOMPARE(entry->index, index);
    QCOMPARE(entry->indexText, QByteArray::number(index));
    QCOMPARE(entry->number, number);
    QCOMPARE(entry->name, name);
}

void TestReplies::entryCutKeepsEveryByte() {
    // Every byte that line assembly lets through, except the quote, comes back unchanged.
    QByteArray text;
    for (int b = 32; b < 256; ++b) {
        if (b != '"')
            text.append(char(b));
    }
    const auto entry = oxa::parseEntryLine("+CPBR: 9,\"" + text + "\",129,\"" + text + "\"");
    QVERIFY(entry);
    QCOMPARE(entry->index, 9);
    QCOMPARE(entry->number, text);
    QCOMPARE(entry->name, text);
}

void TestReplies::garbageNeverCrashes() {
    // Lines of random bytes around the delimiters the parsers look for: each parser answers
    // (a value or nullopt) without reading outside the line.
    QRandomGenerator random(20240601);
    const QByteArray alphabet("+CPBR:(1-)\",#CBSQN 0123456789\xff\x80");
    for (int round = 0; round < 20000; ++round) {
        QByteArray line;
        const int length = int(random.bounded(40));
        for (int i = 0; i < length; ++i) {
            line.append(random.bounded(4) == 0 ? char(random.bounded(256))
                                               : alphabet[random.bounded(alphabet.size())]);
        }
        oxa::classifyReply(line, round % 2);
        if (const auto entry = oxa::parseEntryLine(line)) {
            QVERIFY(entry->index >= 0);
            QVERIFY(line.contains(entry->number));
            QVERIFY(line.contains(entry->name));
        }
        oxa::parseBattery(line);
        oxa::parseSignalLevel(line);
        oxa::parseSimSize(line);
        QVERIFY(line.endsWith(oxa::operatorText(line)));
    }
}

void TestReplies::version_data() {
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QByteArray>("number");
    QTest::addColumn<bool>("disablesTones");
    QTest::addColumn<QString>("newPanel");

    QTest::newRow("layout text") << " OXA Ver:" << QByteArray("5.12") << false << " OXA Ver: 5.12";
    QTest::newRow("hash disables tones")
        << " OXA Ver:" << QByteArray("6.0#LTE") << true << " OXA Ver: 6.0#LTE";
    QTest::newRow("other variant") << " GSM-QU Ver:" << QByteArray("2.1") << false << " GSM-QU Ver: 2.1";
    QTest::newRow("prefix follows panel, not number")
        << "" << QByteArray("OXA 3") << false << " GSM-QU Ver: OXA 3";
    QTest::newRow("second read keeps prefix")
        << " OXA Ver: 5.0" << QByteArray("5.1") << false << " OXA Ver: 5.1";
}

void TestReplies::version() {
    QFETCH(QString, panel);
    QFETCH(QByteArray, number);
    QFETCH(bool, disablesTones);
    QFETCH(QString, newPanel);
    QCOMPARE(oxa::versionDisablesTones(number), disablesTones);
    QCOMPARE(oxa::versionPanelText(panel, QString::fromLatin1(number)), newPanel);
}

QTEST_APPLESS_MAIN(TestReplies)
#include "tst_protocol_replies.moc"
