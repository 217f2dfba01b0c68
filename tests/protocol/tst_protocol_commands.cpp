// The AT vocabulary, the refusal of fields with line breaks, entry names and the OK dispatch.
#include "devicecommands.h"
#include "entryline.h"
#include "okdispatch.h"

#include <QTest>

using oxa::CommandField;
using oxa::EntryTarget;
using oxa::OkAction;

Q_DECLARE_METATYPE(CommandField)
Q_DECLARE_METATYPE(EntryTarget)
Q_DECLARE_METATYPE(OkAction)

class TestCommands : public QObject {
    Q_OBJECT

private slots:
    void fixedCommands_data();
    void fixedCommands();
    void fieldCommands_data();
    void fieldCommands();
    void lineBreakRefused_data();
    void lineBreakRefused();
    void entryNames_data();
    void entryNames();
    void writeKeyOrder();
    void okDispatch_data();
    void okDispatch();
};

void TestCommands::fixedCommands_data() {
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("echo off") << oxa::at::echoOff() << QByteArray("ATE0\r\n");
    QTest::newRow("identify") << oxa::at::identify() << QByteArray("AT+CGMI\r\n");
    QTest::newRow("operator") << oxa::at::operatorName() << QByteArray("AT#SPN\r\n");
    QTest::newRow("echo off + operator") << oxa::at::echoOffOperatorName() << QByteArray("ATE0;#SPN\r\n");
    QTest::newRow("range") << oxa::at::phoneBookRange() << QByteArray("AT+CPBR=?\r\n");
    QTest::newRow("read 250") << oxa::at::readEntries(250) << QByteArray("AT+CPBR=1,250\r\n");
    QTest::newRow("read 0") << oxa::at::readEntries(0) << QByteArray("AT+CPBR=1,0\r\n");
    QTest::newRow("delete 7") << oxa::at::deleteEntry(7) << QByteArray("AT+CPBW=7\r\n");
    QTest::newRow("attention") << oxa::at::attention() << QByteArray("AT\r\n");
    QTest::newRow("signal") << oxa::at::signalQuality() << QByteArray("AT+CSQ\r\n");
    QTest::newRow("serial number") << oxa::at::serialNumber() << QByteArray("AT#CGSN\r\n");
    QTest::newRow("reboot") << oxa::at::reboot() << QByteArray("AT#REBOOT\r\n");
    QTest::newRow("default script") << oxa::at::selectDefaultScript() << QByteArray("AT#ESCRIPT=oxa.pyo\r\n");
}

void TestCommands::fixedCommands() {
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, expected);
    QCOMPARE(command, expected);
}

void TestCommands::fieldCommands_data() {
    QTest::addColumn<oxa::Command>("command");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("write entry") << oxa::at::writeEntry(5, "+420603123456", "ADMIN1")
                                 << QByteArray("AT+CPBW=5,+420603123456,,ADMIN1\r\n");
    QTest::newRow("write entry, no quotes added")
        << oxa::at::writeEntry(12, "1#2", "M1 \"x\",y") << QByteArray("AT+CPBW=12,1#2,,M1 \"x\",y\r\n");
    QTest::newRow("write entry, high bytes")
        << oxa::at::writeEntry(3, "\xe9", "\x80\xff") << QByteArray("AT+CPBW=3,\xe9,,\x80\xff\r\n");
    QTest::newRow("write entry, empty fields")
        << oxa::at::writeEntry(2, "", "") << QByteArray("AT+CPBW=2,,,\r\n");
    QTest::newRow("new entry") << oxa::at::writeNewEntry("123", "B1") << QByteArray("AT+CPBW=,123,,B1\r\n");
    QTest::newRow("select script") << oxa::at::selectScript("oxa.pyo")
                                   << QByteArray("AT#ESCRIPT=oxa.pyo\r\n");
    QTest::newRow("select no script") << oxa::at::selectScript("") << QByteArray("AT#ESCRIPT=\r\n");
    QTest::newRow("write script") << oxa::at::writeScript("oxa.pyo", 64001)
                                  << QByteArray("AT#WSCRIPT=oxa.pyo,64001\r\n");
    QTest::newRow("send file") << oxa::at::sendFile("msg1.amr", 300000)
                               << QByteArray("AT#ASEND=msg1.amr,300000\r\n");
    QTest::newRow("delete script") << oxa::at::deleteScript("old.pyo")
                                   << QByteArray("AT#DSCRIPT=old.pyo\r\n");
    QTest::newRow("free command") << oxa::at::freeCommand("AT#SLED=1") << QByteArray("AT#SLED=1\r\n");
}

void TestCommands::fieldCommands() {
    QFETCH(oxa::Command, command);
    QFETCH(QByteArray, expected);
    QVERIFY(command.ok());
    QCOMPARE(command.line, expected);
    QCOMPARE(command.logText(), expected.chopped(2));
}

void TestCommands::lineBreakRefused_data() {
    QTest::addColumn<oxa::Command>("command");
    QTest::addColumn<CommandField>("field");

    QTest::newRow("CR in number") << oxa::at::writeEntry(1, "12\r34", "ADMIN1") << CommandField::Number;
    QTest::newRow("LF in name") << oxa::at::writeEntry(1, "12", "ALARM\nON") << CommandField::Name;
    QTest::newRow("both: number named first") << oxa::at::writeEntry(1, "\n", "\r") << CommandField::Number;
    QTest::newRow("new entry name") << oxa::at::writeNewEntry("1", "x\r\nAT+CPBW=1") << CommandField::Name;
    QTest::newRow("script name") << oxa::at::selectScript("a\rb") << CommandField::FileName;
    QTest::newRow("file to write") << oxa::at::writeScript("a\n", 3) << CommandField::FileName;
    QTest::newRow("file to send") << oxa::at::sendFile("\ra", 3) << CommandField::FileName;
    QTest::newRow("file to delete") << oxa::at::deleteScript("a\n") << CommandField::FileName;
    QTest::newRow("free command") << oxa::at::freeCommand("AT\r\nAT#REBOOT") << CommandField::CommandText;
}

void TestCommands::lineBreakRefused() {
    QFETCH(oxa::Command, command);
    QFETCH(CommandField, field);
    QVERIFY(!command.ok());
    QCOMPARE(command.refused, field);
    QVERIFY(command.line.isEmpty());
    QVERIFY(!oxa::commandFieldName(field).isEmpty());
}

void TestCommands::entryNames_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<EntryTarget>("target");

    for (const QByteArray &key : oxa::keyBoxNames())
        QTest::newRow(key.constData()) << key << EntryTarget::KeyBox;
    for (const QByteArray &key : oxa::parameterNames())
        QTest::newRow(key.constData()) << key << EntryTarget::Parameter;
    QTest::newRow("VER") << QByteArray("VER") << EntryTarget::Version;
    QTest::newRow("ver") << QByteArray("ver") << EntryTarget::GridRow;
    QTest::newRow("VER blank") << QByteArray("VER ") << EntryTarget::GridRow;
    QTest::newRow("admin1") << QByteArray("admin1") << EntryTarget::GridRow;
    QTest::newRow("ADMIN8") << QByteArray("ADMIN8") << EntryTarget::GridRow;
    QTest::newRow("ADMIN") << QByteArray("ADMIN") << EntryTarget::GridRow;
    QTest::newRow("ABUTTON0") << QByteArray("ABUTTON0") << EntryTarget::GridRow;
    QTest::newRow("AABUTTON1 (mirror box, not a key)") << QByteArray("AABUTTON1") << EntryTarget::GridRow;
    QTest::newRow("ALARM") << QByteArray("ALARM") << EntryTarget::GridRow;
    QTest::newRow("PAROXA1") << QByteArray("PAROXA1") << EntryTarget::GridRow;
    QTest::newRow("DETECT") << QByteArray("DETECT") << EntryTarget::GridRow;
    QTest::newRow("tagged memory") << QByteArray("M12") << EntryTarget::GridRow;
    QTest::newRow("empty") << QByteArray() << EntryTarget::GridRow;
}

void TestCommands::entryNames() {
    QFETCH(QByteArray, name);
    QFETCH(EntryTarget, target);
    QCOMPARE(oxa::classifyEntryName(name), target);
    QCOMPARE(oxa::isKeyName(name), target != EntryTarget::GridRow);
}

void TestCommands::writeKeyOrder() {
    const QByteArrayList &keys = oxa::writeKeys();
    QCOMPARE(keys.size(), oxa::WriteKeyCount);
    QCOMPARE(keys.first(), QByteArray("ADMIN1"));
    QCOMPARE(keys[6], QByteArray("ADMIN7"));
    QCOMPARE(keys[7], QByteArray("ABUTTON1"));
    QCOMPARE(keys[14], QByteArray("BBUTTON1"));
    QCOMPARE(keys[20], QByteArray("BBUTTON7"));
    QCOMPARE(keys.sliced(21),
             (QByteArrayList{"ALARMON", "ALARMOFF", "PAROXA", "PARRL1", "PARRL2", "PARKEY"}));
    QCOMPARE(oxa::keyBoxNames().size() + oxa::parameterNames().size(), keys.size());
}

void TestCommands::okDispatch_data() {
    QTest::addColumn<oxa::OkFlags>("flags");
    QTest::addColumn<QList<OkAction>>("actions");

    // refreshAfterOk, uploadWaiting, asendPending, ate0Sent, lteModule, writeInProgress
    const auto row = [](const char *tag, oxa::OkFlags flags, QList<OkAction> actions) {
        QTest::newRow(tag) << flags << actions;
    };
    row("nothing waits", {}, {});
    row("refresh", {true, false, false, false, false, false}, {OkAction::StartRefreshRead});
    row("refresh, then write goes on", {true, false, false, false, false, true},
        {OkAction::StartRefreshRead, OkAction::AdvanceWrite});
    row("refresh, then upload goes on", {true, true, false, false, false, false},
        {OkAction::StartRefreshRead, OkAction::AdvanceUpload});
    row("upload", {false, true, false, false, false, false}, {OkAction::AdvanceUpload});
    row("upload before write", {false, true, false, false, false, true}, {OkAction::AdvanceUpload});
    row("upload before LTE stop", {false, true, false, true, true, false}, {OkAction::AdvanceUpload});
    row("ASEND waits: no advance", {false, true, true, false, false, false}, {});
    row("ASEND waits: write goes on", {false, true, true, false, false, true}, {OkAction::AdvanceWrite});
    row("ASEND waits: LTE stop goes on", {false, true, true, true, true, false}, {OkAction::FinishLteStop});
    row("LTE stop", {false, false, false, true, true, false}, {OkAction::FinishLteStop});
    row("LTE stop before write", {false, false, false, true, true, true}, {OkAction::FinishLteStop});
    row("ATE0 without LTE", {false, false, false, true, false, false}, {});
    row("ATE0 without LTE, write", {false, false, false, true, false, true}, {OkAction::AdvanceWrite});
    row("LTE alone", {false, false, false, false, true, false}, {});
    row("write", {false, false, false, false, false, true}, {OkAction::AdvanceWrite});
    row("everything", {true, true, false, true, true, true},
        {OkAction::StartRefreshRead, OkAction::AdvanceUpload});
}

void TestCommands::okDispatch() {
    QFETCH(oxa::OkFlags, flags);
    QFETCH(QList<OkAction>, actions);
    QCOMPARE(oxa::dispatchOk(flags), actions);
}

QTEST_APPLESS_MAIN(TestCommands)
#include "tst_protocol_commands.moc"
