// Access fields of code entries: the mode pages' lists, encoding each mode's page, decoding a code node
// into its page, and the conversion message that stops decoding.
#include "accessfield.h"
#include "commands.h"
#include "nodetext.h"

#include <QRandomGenerator>
#include <QTest>

using namespace oxa;

namespace {

CodePage page(int mode, bool first, bool second, bool sms) {
    CodePage p;
    p.mode = mode;
    p.firstRelay = first;
    p.secondRelay = second;
    p.sms = sms;
    return p;
}

// One line per decode, in the order the window applies it.
QString describe(const DecodedCode &d) {
    QStringList lists;
    for (const auto &[list, choice] : d.lists)
        lists.append(QStringLiteral("%1=%2:%3")
                         .arg(codeListName(list))
                         .arg(choice.index)
                         .arg(QString::fromLatin1(choice.text)));
    QString days = QStringLiteral("-");
    if (d.days) {
        days.clear();
        for (bool day : *d.days)
            days += day ? u'1' : u'0';
    }
    return QStringLiteral("page=%1 code=%2 relay=%3 days=%4 lists=%5 sms=%6 error=%7")
        .arg(d.page ? QString::number(*d.page) : QStringLiteral("-"))
        .arg(d.code ? QString::fromLatin1(*d.code) : QStringLiteral("-"))
        .arg(d.relay)
        .arg(days, lists.join(u','), d.sms ? QString::number(int(*d.sms)) : QStringLiteral("-"), d.error);
}

} // namespace

class TestAccess : public QObject {
    Q_OBJECT
private slots:
    void lists_data();
    void lists();
    void encode_data();
    void encode();
    void writeLine();
    void decode_data();
    void decode();
    void encodeThenDecodeRestoresThePage();
    void controlNames();
};

void TestAccess::lists_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("star");
    QTest::addColumn<QByteArray>("initialText");
    QTest::newRow("access") << int(CodeListKind::Access) << 100 << 0 << QByteArray("**");
    QTest::newRow("month") << int(CodeListKind::Month) << 13 << 0 << QByteArray("01");
    QTest::newRow("day") << int(CodeListKind::Day) << 32 << 0 << QByteArray("01");
    QTest::newRow("hour") << int(CodeListKind::Hour) << 25 << 24 << QByteArray("01");
}

void TestAccess::lists() {
    QFETCH(int, kind);
    QFETCH(int, count);
    QFETCH(int, star);
    QFETCH(QByteArray, initialText);
    const CodeListKind listKind = CodeListKind(kind);
    const QList<QByteArray> items = codeListItems(listKind);
    QCOMPARE(items.size(), count);
    QCOMPARE(starItem(listKind), star);
    QCOMPARE(items.at(star), QByteArray("**"));
    QCOMPARE(items.at(initialItem(listKind)), initialText);
    // Every two-digit item sits at the index of its number.
    for (int index = 0; index < count; ++index) {
        if (index != star)
            QCOMPARE(items.at(index), QByteArray::number(index).rightJustified(2, '0'));
    }
    QCOMPARE(items.count("**"), 1);
}

void TestAccess::encode_data() {
    QTest::addColumn<CodePage>("page");
    QTest::addColumn<QByteArray>("field");

    CodePage weekly = page(1, true, false, false);
    weekly.days = {true, true, true, true, true, false, false};
    weekly.access = "05";
    QTest::newRow("weekly Mo-Fr 05") << weekly << QByteArray("1#1#1111100#05#0");

    CodePage weekend = page(1, false, false, true);
    weekend.days = {false, false, false, false, false, true, true};
    weekend.access = "**";
    QTest::newRow("weekly weekend **") << weekend << QByteArray("0#1#0000011#**#1");

    CodePage dates = page(2, false, true, true);
    dates.fromMonth = "03";
    dates.fromDay = "01";
    dates.toMonth = "06";
    dates.toDay = "15";
    QTest::newRow("date to date") << dates << QByteArray("2#2#0301#0615#1");

    CodePage fromDate = page(3, true, false, false);
    fromDate.fromMonth = "12";
    fromDate.fromDay = "24";
    fromDate.access = "**";
    QTest::newRow("date and access") << fromDate << QByteArray("1#3#1224#**#0");

    CodePage hours = page(4, true, false, false);
    hours.fromHour = "**";
    hours.toHour = "06";
    hours.access = "**";
    QTest::newRow("hours with **") << hours << QByteArray("1#4#**#06#**#0");

    CodePage typed = page(4, false, false, true);
    typed.fromHour = "5";
    typed.toHour = "123";
    QTest::newRow("typed texts written unchanged") << typed << QByteArray("0#4#5#123##1");

    QTest::newRow("normal, no relay") << page(0, false, false, true) << QByteArray("0#0");
    QTest::newRow("normal, relay 2") << page(0, false, true, false) << QByteArray("2#0");
    QTest::newRow("both relays on") << page(0, true, true, false) << QByteArray("3#0");
}

void TestAccess::encode() {
    QFETCH(CodePage, page);
    QFETCH(QByteArray, field);
    QCOMPARE(encodeAccessField(page), field);
}

void TestAccess::writeLine() {
    CodePage weekly = page(1, true, false, false);
    weekly.days = {true, true, true, true, true, false, false};
    weekly.access = "05";
    QCOMPARE(codeWriteCommand(std::nullopt, encodeAccessField(weekly), "246"),
             QByteArray("AT+CPBW=,1#1#1111100#05#0,,C246C\r\n"));
    // Writing from another page rewrites the selected entry with the new mode.
    QCOMPARE(codeWriteCommand(QByteArray("9:C246C[2#2#0301#0615#1]"),
                              encodeAccessField(page(0, true, false, false)), "246"),
             QByteArray("AT+CPBW=9,1#0,,C246C\r\n"));
    QCOMPARE(codePreviewLabel("246"), QByteArray("(C246C)"));
    QCOMPARE(initialCodeLabel(), QByteArray("C"));
}

void TestAccess::decode_data() {
    QTest::addColumn<QByteArray>("node");
    QTest::addColumn<QString>("decoded");

    QTest::newRow("date to date") << QByteArray("9:C246C[2#2#0301#0615#1]")
                                  << "page=2 code=246 relay=2 days=- "
                                     "lists=FromM2=3:03,FromD2=1:01,ToM2=6:06,ToD2=15:15 sms=1 error=";
    QTest::newRow("day 29")
        << QByteArray("9:C5C[1#2#0101#0229#0]")
        << "page=2 code=5 relay=1 days=- lists=FromM2=1:01,FromD2=1:01,ToM2=2:02,ToD2=29:29 "
           "sms=0 error=";
    QTest::newRow("weekly") << QByteArray("4:C246C[1#1#1111100#05#0]")
                            << "page=1 code=246 relay=1 days=1111100 lists=M1Acces=5:05 sms=0 error=";
    QTest::newRow("weekly, other day chars")
        << QByteArray("4:C1C[2#1#1x1 010#**#1]")
        << "page=1 code=1 relay=2 days=1010010 lists=M1Acces=0:** sms=1 error=";
    QTest::newRow("date and access")
        << QByteArray("2:C9C[2#3#1224#99#1]")
        << "page=3 code=9 relay=2 days=- lists=FromM3=12:12,FromD3=24:24,M3Acces=99:99 "
           "sms=1 error=";
    QTest::newRow("hours with **")
        << QByteArray("3:C77C[1#4#**#06#**#0]")
        << "page=4 code=77 relay=1 days=- lists=FromHours=24:**,ToHours=6:06,M4Acces=0:** "
           "sms=0 error=";
    QTest::newRow("hours")
        << QByteArray("3:C77C[1#4#22#06#12#1]")
        << "page=4 code=77 relay=1 days=- lists=FromHours=22:22,ToHours=6:06,M4Acces=12:12 "
           "sms=1 error=";
    QTest::newRow("values by index")
        << QByteArray("3:C1C[0#4#24#25#00#0]")
        << "page=4 code=1 relay=0 days=- lists=FromHours=24:**,ToHours=-1:,M4Acces=0:** "
           "sms=0 error=";
    QTest::newRow("beyond the lists") << QByteArray("2:C9C[1#2#1332#0000#1]")
                                      << "page=2 code=9 relay=1 days=- "
                                         "lists=FromM2=-1:,FromD2=-1:,ToM2=0:**,ToD2=0:** sms=1 error=";
    QTest::newRow("normal") << QByteArray("15:C246C[1#0]")
                            << "page=0 code=246 relay=1 days=- lists= sms=- error=";
    QTest::newRow("normal, no relay")
        << QByteArray("1:CC[0#0]") << "page=0 code= relay=0 days=- lists= sms=- error=";
    QTest::newRow("mode digit 7") << QByteArray("3:C1C[1#7#1#1]")
                                  << "page=-1 code=- relay=0 days=- lists= sms=- error=";
    QTest::newRow("mode not a number") << QByteArray("3:C1C[1#x#1]")
                                       << "page=- code=- relay=0 days=- lists= sms=- "
                                          "error='x' is not a valid integer value";
    QTest::newRow("no mode")
        << QByteArray("3:C1C[1]")
        << "page=- code=- relay=0 days=- lists= sms=- error='' is not a valid integer value";
    QTest::newRow("stops at the bad value") << QByteArray("2:C9C[1#2#03x1#0615#1]")
                                            << "page=2 code=9 relay=1 days=- lists=FromM2=3:03 sms=- "
                                               "error='x1' is not a valid integer value";
    QTest::newRow("first value bad")
        << QByteArray("2:C9C[2#3#5#7#0]")
        << "page=3 code=9 relay=2 days=- lists= sms=- error='5#' is not a valid integer value";
    QTest::newRow("field too short")
        << QByteArray("1:C1C[1#4#]")
        << "page=4 code=1 relay=1 days=- lists= sms=- error='' is not a valid integer value";
    QTest::newRow("weekly too short") << QByteArray("1:C1C[2#1#11]")
                                      << "page=1 code=1 relay=2 days=1100000 lists= sms=- "
                                         "error='' is not a valid integer value";
}

void TestAccess::decode() {
    QFETCH(QByteArray, node);
    QFETCH(QString, decoded);
    QCOMPARE(describe(decodeCodeNode(node, CodePageCodec())), decoded);
}

void TestAccess::encodeThenDecodeRestoresThePage() {
    QRandomGenerator random(4242);
    const auto pick = [&random](CodeListKind kind) {
        const QList<QByteArray> items = codeListItems(kind);
        return items.at(random.bounded(int(items.size())));
    };
    for (int trial = 0; trial < 2000; ++trial) {
        CodePage p = page(random.bounded(codeModeCount), false, false, random.bounded(2) == 1);
        const int relay = random.bounded(3);
        p.firstRelay = relay == 1;
        p.secondRelay = relay == 2;
        for (bool &day : p.days)
            day = random.bounded(2) == 1;
        p.access = pick(CodeListKind::Access);
        p.fromMonth = pick(CodeListKind::Month);
        p.toMonth = pick(CodeListKind::Month);
        p.fromDay = pick(CodeListKind::Day);
        p.toDay = pick(CodeListKind::Day);
        p.fromHour = pick(CodeListKind::Hour);
        p.toHour = pick(CodeListKind::Hour);
        const QByteArray code = QByteArray::number(random.bounded(100000));

        const QByteArray node =
            nodeText(QByteArray::number(trial + 1), 'C' + code + 'C', encodeAccessField(p));
        const DecodedCode d = decodeCodeNode(node, CodePageCodec());
        QVERIFY2(d.error.isEmpty(), node.constData());
        QCOMPARE(d.page, std::optional<int>(p.mode));
        QCOMPARE(d.code, std::optional<QByteArray>(code));
        QCOMPARE(d.relay, relay);
        if (p.mode == 1) {
            QVERIFY(d.days.has_value());
            QVERIFY(*d.days == p.days);
        } else {
            QVERIFY(!d.days.has_value());
        }
        QMap<CodeList, QByteArray> expected;
        switch (p.mode) {
        case 1:
            expected = {{CodeList::M1Acces, p.access}};
            break;
        case 2:
            expected = {{CodeList::FromM2, p.fromMonth},
                        {CodeList::FromD2, p.fromDay},
                        {CodeList::ToM2, p.toMonth},
                        {CodeList::ToD2, p.toDay}};
            break;
        case 3:
            expected = {{CodeList::FromM3, p.fromMonth},
                        {CodeList::FromD3, p.fromDay},
                        {CodeList::M3Acces, p.access}};
            break;
        case 4:
            expected = {{CodeList::FromHours, p.fromHour},
                        {CodeList::ToHours, p.toHour},
                        {CodeList::M4Acces, p.access}};
            break;
        }
        QCOMPARE(d.lists.size(), expected.size());
        for (const auto &[list, choice] : d.lists)
            QCOMPARE(choice.text, expected.value(list));
        QCOMPARE(d.sms, p.mode == 0 ? std::nullopt : std::optional<bool>(p.sms));
    }
}

void TestAccess::controlNames() {
    QCOMPARE(codeListsOfMode(2),
             (QList<CodeList>{CodeList::FromM2, CodeList::FromD2, CodeList::ToM2, CodeList::ToD2}));
    QCOMPARE(codeListsOfMode(0), QList<CodeList>{});
    QCOMPARE(relayButtonName(3, 2), QString("M3Rel2"));
    QCOMPARE(smsBoxName(4), QString("M4SMS"));
    QCOMPARE(codeEditName(1), QString("CodeM1"));
    QCOMPARE(codeLabelName(0), QString("LabelCodeM0"));
    QCOMPARE(writeCodeButtonName(2), QString("WriteCode2"));
    QCOMPARE(codePageName(4), QString("M4"));
    QCOMPARE(dayBoxNames(), (QList<QString>{"Po", "Ut", "St", "Ct", "Pa", "So", "Ne"}));
}

QTEST_APPLESS_MAIN(TestAccess)
#include "tst_memories_access.moc"
