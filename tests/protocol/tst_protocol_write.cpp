// The write sequence: keys in order, grid rows, emptied indexes, read-back; one action per "OK".
#include "entryline.h"
#include "writeplan.h"

#include <QMap>
#include <QTest>

using oxa::WriteAction;
using oxa::WriteRow;
using Kind = oxa::WriteAction::Kind;

namespace {

QByteArrayList keyValues(const QMap<QByteArray, QByteArray> &values) {
    QByteArrayList list;
    for (const QByteArray &key : oxa::writeKeys())
        list.append(values.value(key));
    return list;
}

// The sequence in a compact form, one word per exchange: "AT", "W<index>:<name>", "D<index>",
// "R<size>" (the read-back).
QStringList shape(const QList<WriteAction> &actions) {
    QStringList words;
    for (const WriteAction &a : actions) {
        switch (a.kind) {
        case Kind::Start:
        case Kind::Skip:
            words << "AT";
            break;
        case Kind::Write:
            words << QStringLiteral("W%1:%2").arg(a.simIndex).arg(QString::fromLatin1(a.name));
            break;
        case Kind::Delete:
            words << QStringLiteral("D%1").arg(a.simIndex);
            break;
        case Kind::Finish:
            words << QStringLiteral("R") + QString::fromLatin1(a.command.mid(10).chopped(2));
            break;
        }
    }
    return words;
}

QStringList ats(int count) {
    return QStringList(count, QStringLiteral("AT"));
}

} // namespace

class TestWrite : public QObject {
    Q_OBJECT

private slots:
    void simSizeZeroEndsAtOnce();
    void emptyConfigurationEmptiesTheSim();
    void keysRowsAndDeletes();
    void moreEntriesThanSimSize();
    void actionDetails();
    void stepByStep();
    void refusal_data();
    void refusal();
};

void TestWrite::simSizeZeroEndsAtOnce() {
    const auto actions = oxa::planWrite(keyValues({{"ADMIN1", "1"}}), {{"Jan", "2"}}, 0);
    QCOMPARE(shape(actions), (QStringList{"AT", "R0"}));
    QCOMPARE(actions.last().writeStep, 1);
    QCOMPARE(actions.last().command, QByteArray("AT+CPBR=1,0\r\n"));
}

void TestWrite::emptyConfigurationEmptiesTheSim() {
    // Keys with empty boxes cost an "AT" each and no index; the grid's one empty row likewise.
    const auto actions = oxa::planWrite(keyValues({}), {{"", ""}}, 3);
    QCOMPARE(shape(actions), ats(1 + 27 + 1) + QStringList({"D1", "D2", "D3", "R3"}));
}

void TestWrite::keysRowsAndDeletes() {
    const auto values = keyValues({{"ADMIN1", "+420111"},
                                   {"BBUTTON7", "777"},
                                   {"ALARMON", "on"},
                                   {"PAROXA", "1#2#3"},
                                   {"PARKEY", "1#2"}});
    const QList<WriteRow> rows{{"Jan", "222"}, {"", "5"}, {"M1", ""}, {"DETECT", "1"}};
    const auto actions = oxa::planWrite(values, rows, 11);

    const QStringList expected =
        QStringList{"AT", "W1:ADMIN1"} + ats(19) +
        QStringList{"W2:BBUTTON7", "W3:ALARMON", "AT",        "W4:PAROXA", "AT", "AT",  "W5:PARKEY", "W6:Jan",
                    "AT",          "AT",         "W7:DETECT", "D8",        "D9", "D10", "D11",       "R11"};
    QCOMPARE(shape(actions), expected);

    // WriteStep counts every exchange after the opening "AT", so it is the progress position.
    for (int i = 1; i < actions.size(); ++i)
        QCOMPARE(actions[i].writeStep, i);
}

void TestWrite::moreEntriesThanSimSize() {
    const auto values = keyValues({{"ADMIN1", "1"}, {"ADMIN2", "2"}, {"ADMIN3", "3"}});
    QCOMPARE(shape(oxa::planWrite(values, {{"Jan", "4"}}, 2)),
             (QStringList{"AT", "W1:ADMIN1", "W2:ADMIN2", "R2"}));
    // Exactly full: the next exchange after the last index is the read-back.
    QCOMPARE(shape(oxa::planWrite(values, QList<WriteRow>(), 3)),
             (QStringList{"AT", "W1:ADMIN1", "W2:ADMIN2", "W3:ADMIN3", "R3"}));
}

void TestWrite::actionDetails() {
    const auto actions = oxa::planWrite(keyValues({{"ADMIN2", "+420 603"}}), {{"N\xe9", "\xff"}}, 4);
    const WriteAction &start = actions[0];
    QCOMPARE(start.kind, Kind::Start);
    QCOMPARE(start.command, QByteArray("AT\r\n"));
    QCOMPARE(start.pauseBeforeMs, 0);
    QVERIFY(start.log.isEmpty());

    const WriteAction &skip = actions[1];
    QCOMPARE(skip.kind, Kind::Skip);
    QCOMPARE(skip.name, QByteArray("ADMIN1"));
    QCOMPARE(skip.command, QByteArray("AT\r\n"));
    QCOMPARE(skip.log, QStringLiteral("---"));
    QCOMPARE(skip.simIndex, 0);
    QCOMPARE(skip.pauseBeforeMs, 200);

    const WriteAction &write = actions[2];
    QCOMPARE(write.kind, Kind::Write);
    QCOMPARE(write.command, QByteArray("AT+CPBW=1,+420 603,,ADMIN2\r\n"));
    QCOMPARE(write.log, QStringLiteral("SIM1"));
    QCOMPARE(write.pauseBeforeMs, 200);

    const WriteAction &row = actions[28];
    QCOMPARE(row.command, QByteArray("AT+CPBW=2,\xff,,N\xe9\r\n"));

    const WriteAction &remove = actions[29];
    QCOMPARE(remove.kind, Kind::Delete);
    QCOMPARE(remove.command, QByteArray("AT+CPBW=3\r\n"));
    QCOMPARE(remove.log, QStringLiteral("delete SIM3"));
    QCOMPARE(remove.pauseBeforeMs, 200);

    const WriteAction &finish = actions.last();
    QCOMPARE(finish.kind, Kind::Finish);
    QCOMPARE(finish.command, QByteArray("AT+CPBR=1,4\r\n"));
    QCOMPARE(finish.pauseBeforeMs, 0);
}

void TestWrite::stepByStep() {
    oxa::WriteSequence sequence(keyValues({{"ALARMOFF", "off"}}), {}, 1);
    QVERIFY(!sequence.refusal());
    QCOMPARE(sequence.start().kind, Kind::Start);
    for (int i = 0; i < 22; ++i)
        QCOMPARE(sequence.next().kind, Kind::Skip);
    QCOMPARE(sequence.next().kind, Kind::Write);
    // The awaited reply belongs to ALARMOFF at index 1: what a failure message names.
    QCOMPARE(sequence.current().name, QByteArray("ALARMOFF"));
    QCOMPARE(sequence.current().simIndex, 1);
    QCOMPARE(sequence.simWriteIndex(), 2);
    QVERIFY(!sequence.finished());

    const WriteAction finish = sequence.next();
    QCOMPARE(finish.kind, Kind::Finish);
    QCOMPARE(finish.writeStep, 24);
    QVERIFY(sequence.finished());
    // A stray "OK" after the end changes nothing.
    QCOMPARE(sequence.next().writeStep, 24);
    QCOMPARE(sequence.writeStep(), 24);

    // Starting again replays from the beginning.
    QCOMPARE(sequence.start().kind, Kind::Start);
    QCOMPARE(sequence.writeStep(), 0);
    QCOMPARE(sequence.simWriteIndex(), 1);
}

void TestWrite::refusal_data() {
    QTest::addColumn<QByteArrayList>("values");
    QTest::addColumn<QList<WriteRow>>("rows");
    QTest::addColumn<int>("simSize");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<int>("gridRow");
    QTest::addColumn<int>("simIndex");
    QTest::addColumn<oxa::CommandField>("field");

    QTest::newRow("alarm text with CR")
        << keyValues({{"ADMIN1", "1"}, {"ALARMON", "door\ropen"}}) << QList<WriteRow>{} << 250 << true
        << QByteArray("ALARMON") << 0 << 2 << oxa::CommandField::Number;
    QTest::newRow("grid name with LF")
        << keyValues({}) << QList<WriteRow>{{"Jan", "1"}, {"Eva\nAT", "2"}} << 250 << true
        << QByteArray("Eva\nAT") << 2 << 2 << oxa::CommandField::Name;
    QTest::newRow("first of two is named")
        << keyValues({{"ADMIN5", "\n"}}) << QList<WriteRow>{{"X\r", "1"}} << 250 << true
        << QByteArray("ADMIN5") << 0 << 1 << oxa::CommandField::Number;
    QTest::newRow("beyond SimSize, never sent")
        << keyValues({{"ADMIN1", "1"}}) << QList<WriteRow>{{"X\r", "1"}} << 1 << false << QByteArray() << 0
        << 0 << oxa::CommandField::None;
    QTest::newRow("empty value, skipped with AT")
        << keyValues({}) << QList<WriteRow>{{"X\r", ""}} << 250 << false << QByteArray() << 0 << 0
        << oxa::CommandField::None;
    QTest::newRow("clean") << keyValues({{"ADMIN1", "1"}}) << QList<WriteRow>{{"Jan", "2"}} << 250 << false
                           << QByteArray() << 0 << 0 << oxa::CommandField::None;
}

void TestWrite::refusal() {
    QFETCH(QByteArrayList, values);
    QFETCH(QList<WriteRow>, rows);
    QFETCH(int, simSize);
    QFETCH(bool, refused);
    QFETCH(QByteArray, entry);
    QFETCH(int, gridRow);
    QFETCH(int, simIndex);
    QFETCH(oxa::CommandField, field);

    const oxa::WriteSequence sequence(values, rows, simSize);
    QCOMPARE(sequence.refusal().has_value(), refused);
    if (refused) {
        QCOMPARE(sequence.refusal()->entryName, entry);
        QCOMPARE(sequence.refusal()->gridRow, gridRow);
        QCOMPARE(sequence.refusal()->simIndex, simIndex);
        QCOMPARE(sequence.refusal()->field, field);
    }
    // Whatever happens, no line break ever reaches the line inside a command.
    for (const WriteAction &action : oxa::planWrite(values, rows, simSize)) {
        QVERIFY(action.command.endsWith("\r\n"));
        QVERIFY(!oxa::hasLineBreak(action.command.chopped(2)));
    }
}

QTEST_APPLESS_MAIN(TestWrite)
#include "tst_protocol_write.moc"
