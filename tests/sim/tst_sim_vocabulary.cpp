#include "simfixture.h"

#include <QTest>

using namespace oxa::sim;
using namespace oxa::sim::test;

// Answers of the module to the commands the program and standard phone-book clients send.
class TestSimVocabulary : public QObject {
    Q_OBJECT

    static QList<IndexedEntry> fixtureSim() {
        return {{1, {"+420603111222", "ADMIN1", 145}},
                {2, {"4#4#0#0#1#7#2#0", "PAROXA", 129}},
                {4, {"555", "M12-1", 129}},
                {20, {"5.14", "VER", 129}}};
    }

    // A stopped unit with echo already off, as the program has it after its start-up.
    static UnitBench quietUnit(int size = 20, QList<IndexedEntry> content = fixtureSim()) {
        UnitBench bench(UnitBench::stoppedOptions(size, content));
        bench.exchange("ATE0\r\n");
        return bench;
    }

private slots:
    void answers_data() {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("answer");
        QTest::newRow("AT") << QByteArray("AT\r\n") << QByteArray("\r\nOK\r\n");
        QTest::newRow("manufacturer") << QByteArray("AT+CGMI\r\n") << QByteArray("\r\nTelit\r\n\r\nOK\r\n");
        QTest::newRow("lower case") << QByteArray("at+cgmi\r\n") << QByteArray("\r\nTelit\r\n\r\nOK\r\n");
        QTest::newRow("model") << QByteArray("AT+CGMM\r\n") << QByteArray("\r\nGL865-DUAL V3\r\n\r\nOK\r\n");
        QTest::newRow("revision") << QByteArray("AT+CGMR\r\n") << QByteArray("\r\n16.01.307\r\n\r\nOK\r\n");
        QTest::newRow("serial") << QByteArray("AT+CGSN\r\n")
                                << QByteArray("\r\n356938035643809\r\n\r\nOK\r\n");
        QTest::newRow("module serial")
            << QByteArray("AT#CGSN\r\n") << QByteArray("\r\n#CGSN: 356938035643809\r\n\r\nOK\r\n");
        QTest::newRow("operator") << QByteArray("AT#SPN\r\n")
                                  << QByteArray("\r\n#SPN: T-Mobile CZ\r\n\r\nOK\r\n");
        QTest::newRow("echo off and operator")
            << QByteArray("ATE0;#SPN\r\n") << QByteArray("\r\n#SPN: T-Mobile CZ\r\n\r\nOK\r\n");
        QTest::newRow("signal") << QByteArray("AT+CSQ\r\n") << QByteArray("\r\n+CSQ: 18,0\r\n\r\nOK\r\n");
        QTest::newRow("battery") << QByteArray("AT#CBC\r\n") << QByteArray("\r\n#CBC: 0,405\r\n\r\nOK\r\n");
        QTest::newRow("sim size") << QByteArray("AT+CPBR=?\r\n")
                                  << QByteArray("\r\n+CPBR: (1-20),40,18\r\n\r\nOK\r\n");
        QTest::newRow("write test") << QByteArray("AT+CPBW=?\r\n")
                                    << QByteArray("\r\n+CPBW: (1-20),40,(129,145),18\r\n\r\nOK\r\n");
        QTest::newRow("read all") << QByteArray("AT+CPBR=1,20\r\n")
                                  << QByteArray("\r\n+CPBR: 1,\"+420603111222\",145,\"ADMIN1\"\r\n"
                                                "+CPBR: 2,\"4#4#0#0#1#7#2#0\",129,\"PAROXA\"\r\n"
                                                "+CPBR: 4,\"555\",129,\"M12-1\"\r\n"
                                                "+CPBR: 20,\"5.14\",129,\"VER\"\r\n\r\nOK\r\n");
        QTest::newRow("read one") << QByteArray("AT+CPBR=4\r\n")
                                  << QByteArray("\r\n+CPBR: 4,\"555\",129,\"M12-1\"\r\n\r\nOK\r\n");
        QTest::newRow("read empty range") << QByteArray("AT+CPBR=5,19\r\n") << QByteArray("\r\nOK\r\n");
        QTest::newRow("read from 0") << QByteArray("AT+CPBR=0,5\r\n") << QByteArray("\r\n+CME ERROR: 21\r\n");
        QTest::newRow("read past the end")
            << QByteArray("AT+CPBR=1,21\r\n") << QByteArray("\r\n+CME ERROR: 21\r\n");
        QTest::newRow("read backwards")
            << QByteArray("AT+CPBR=5,3\r\n") << QByteArray("\r\n+CME ERROR: 21\r\n");
        QTest::newRow("read no number") << QByteArray("AT+CPBR=a\r\n") << QByteArray("\r\nERROR\r\n");
        QTest::newRow("read without =") << QByteArray("AT+CPBR\r\n") << QByteArray("\r\nERROR\r\n");
        QTest::newRow("find") << QByteArray("AT+CPBF=\"par\"\r\n")
                              << QByteArray("\r\n+CPBF: 2,\"4#4#0#0#1#7#2#0\",129,\"PAROXA\"\r\n\r\nOK\r\n");
        QTest::newRow("find nothing")
            << QByteArray("AT+CPBF=\"xyz\"\r\n") << QByteArray("\r\n+CME ERROR: 22\r\n");
        QTest::newRow("storage") << QByteArray("AT+CPBS?\r\n")
                                 << QByteArray("\r\n+CPBS: \"SM\",4,20\r\n\r\nOK\r\n");
        QTest::newRow("storages") << QByteArray("AT+CPBS=?\r\n")
                                  << QByteArray("\r\n+CPBS: (\"SM\")\r\n\r\nOK\r\n");
        QTest::newRow("select SM") << QByteArray("AT+CPBS=\"SM\"\r\n") << QByteArray("\r\nOK\r\n");
        QTest::newRow("select FD") << QByteArray("AT+CPBS=\"FD\"\r\n") << QByteArray("\r\n+CME ERROR: 3\r\n");
        QTest::newRow("charset") << QByteArray("AT+CSCS?\r\n")
                                 << QByteArray("\r\n+CSCS: \"IRA\"\r\n\r\nOK\r\n");
        QTest::newRow("error mode") << QByteArray("AT+CMEE?\r\n") << QByteArray("\r\n+CMEE: 1\r\n\r\nOK\r\n");
        QTest::newRow("error mode set") << QByteArray("AT+CMEE=2\r\n") << QByteArray("\r\nOK\r\n");
        QTest::newRow("error mode 3") << QByteArray("AT+CMEE=3\r\n") << QByteArray("\r\nERROR\r\n");
        QTest::newRow("start script") << QByteArray("AT#ESCRIPT=oxa.pyo\r\n") << QByteArray("\r\nOK\r\n");
        QTest::newRow("registration")
            << QByteArray("AT+CREG?\r\n") << QByteArray("\r\n+CREG: 0,1\r\n\r\nOK\r\n");
        QTest::newRow("unknown") << QByteArray("AT+FOO\r\n") << QByteArray("\r\nERROR\r\n");
        QTest::newRow("unknown basic") << QByteArray("ATX3\r\n") << QByteArray("\r\nERROR\r\n");
        QTest::newRow("malformed") << QByteArray("AT+CSQ=1=2\r\n") << QByteArray("\r\nERROR\r\n");
        QTest::newRow("error stops the line") << QByteArray("AT+FOO;#SPN\r\n") << QByteArray("\r\nERROR\r\n");
        QTest::newRow("not a command") << QByteArray("hello\r\n") << QByteArray();
        QTest::newRow("empty line") << QByteArray("\r\n") << QByteArray();
        QTest::newRow("two lines in one piece")
            << QByteArray("AT\r\nAT+CSQ\r\n") << QByteArray("\r\nOK\r\n\r\n+CSQ: 18,0\r\n\r\nOK\r\n");
        QTest::newRow("CR only") << QByteArray("AT\r") << QByteArray("\r\nOK\r\n");
    }

    void answers() {
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, answer);
        UnitBench bench = quietUnit();
        QCOMPARE(bench.exchange(command), answer);
    }

    // The module echoes until told otherwise, as after power-up.
    void echoesUntilEchoOff() {
        UnitBench bench(UnitBench::stoppedOptions(20));
        QCOMPARE(bench.exchange("AT\r\n"), QByteArray("AT\r\r\nOK\r\n"));
        QCOMPARE(bench.exchange("ATE0\r\n"), QByteArray("ATE0\r\r\nOK\r\n"));
        QCOMPARE(bench.exchange("AT\r\n"), QByteArray("\r\nOK\r\n"));
        QCOMPARE(bench.exchange("ATE1\r\n"), QByteArray("\r\nOK\r\n"));
        QCOMPARE(bench.exchange("AT\r\n"), QByteArray("AT\r\r\nOK\r\n"));
    }

    // A line that arrives in pieces is answered once it is complete.
    void lineInPieces() {
        UnitBench bench = quietUnit();
        QCOMPARE(bench.exchange("AT+C"), QByteArray());
        QCOMPARE(bench.exchange("GMI"), QByteArray());
        QCOMPARE(bench.exchange("\r\n"), QByteArray("\r\nTelit\r\n\r\nOK\r\n"));
    }

    void writes_data() {
        QTest::addColumn<QByteArrayList>("commands");
        QTest::addColumn<QByteArrayList>("answers");
        QTest::addColumn<QByteArray>("dump"); // index:number:type:name of every used entry, ";"-separated

        const QByteArray before =
            "1:+420603111222:145:ADMIN1;2:4#4#0#0#1#7#2#0:129:PAROXA;4:555:129:M12-1;20:5.14:129:VER";
        QTest::newRow("as the program writes")
            << QByteArrayList{"AT+CPBW=3,+420777000111,,ABUTTON1\r\n"} << QByteArrayList{"OK"}
            << QByteArray(
                   "1:+420603111222:145:ADMIN1;2:4#4#0#0#1#7#2#0:129:PAROXA;3:+420777000111:145:ABUTTON1;"
                   "4:555:129:M12-1;20:5.14:129:VER");
        QTest::newRow("overwrite")
            << QByteArrayList{"AT+CPBW=1,602,,ADMIN2\r\n"} << QByteArrayList{"OK"}
            << QByteArray("1:602:129:ADMIN2;2:4#4#0#0#1#7#2#0:129:PAROXA;4:555:129:M12-1;20:5.14:129:VER");
        QTest::newRow("first free, then the next one")
            << QByteArrayList{"AT+CPBW=,777,,M12-2\r\n", "AT+CPBW=,888,,M12-3\r\n"}
            << QByteArrayList{"OK", "OK"}
            << QByteArray(
                   "1:+420603111222:145:ADMIN1;2:4#4#0#0#1#7#2#0:129:PAROXA;3:777:129:M12-2;4:555:129:M12-1;"
                   "5:888:129:M12-3;20:5.14:129:VER");
        QTest::newRow("a freed location is taken first")
            << QByteArrayList{"AT+CPBW=1\r\n", "AT+CPBW=,1,,DETECT\r\n"} << QByteArrayList{"OK", "OK"}
            << QByteArray("1:1:129:DETECT;2:4#4#0#0#1#7#2#0:129:PAROXA;4:555:129:M12-1;20:5.14:129:VER");
        QTest::newRow("delete")
            << QByteArrayList{"AT+CPBW=4\r\n"} << QByteArrayList{"OK"}
            << QByteArray("1:+420603111222:145:ADMIN1;2:4#4#0#0#1#7#2#0:129:PAROXA;20:5.14:129:VER");
        QTest::newRow("delete an empty location")
            << QByteArrayList{"AT+CPBW=7\r\n"} << QByteArrayList{"OK"} << before;
        QTest::newRow("delete by empty fields")
            << QByteArrayList{"AT+CPBW=4,,,\r\n"} << QByteArrayList{"OK"}
            << QByteArray("1:+420603111222:145:ADMIN1;2:4#4#0#0#1#7#2#0:129:PAROXA;20:5.14:129:VER");
        QTest::newRow("delete without index")
            << QByteArrayList{"AT+CPBW=\r\n"} << QByteArrayList{"ERROR"} << before;
        QTest::newRow("index 0") << QByteArrayList{"AT+CPBW=0,1,,X\r\n"} << QByteArrayList{"+CME ERROR: 21"}
                                 << before;
        QTest::newRow("index past the end") << QByteArrayList{"AT+CPBW=21,1,,X\r\n", "AT+CPBW=21\r\n"}
                                            << QByteArrayList{"+CME ERROR: 21", "+CME ERROR: 21"} << before;
        QTest::newRow("number of 40, name of 18")
            << QByteArrayList{"AT+CPBW=5," + QByteArray(40, '1') + ",," + QByteArray(18, 'N') + "\r\n"}
            << QByteArrayList{"OK"}
            << before.left(before.indexOf(";20:")) + ";5:" + QByteArray(40, '1') +
                   ":129:" + QByteArray(18, 'N') + ";20:5.14:129:VER";
        QTest::newRow("number of 41") << QByteArrayList{"AT+CPBW=5," + QByteArray(41, '1') + ",,X\r\n"}
                                      << QByteArrayList{"+CME ERROR: 26"} << before;
        QTest::newRow("name of 19") << QByteArrayList{"AT+CPBW=,1,," + QByteArray(19, 'N') + "\r\n"}
                                    << QByteArrayList{"+CME ERROR: 24"} << before;
        QTest::newRow("quoted, with type")
            << QByteArrayList{"AT+CPBW=5,\"603\",145,\"Novak, Jan\"\r\n"} << QByteArrayList{"OK"}
            << before.left(before.indexOf(";20:")) + ";5:603:145:Novak, Jan;20:5.14:129:VER";
        QTest::newRow("bare name keeps commas and semicolons")
            << QByteArrayList{"AT+CPBW=5,603,,a,b;#SPN\r\n"} << QByteArrayList{"OK"}
            << before.left(before.indexOf(";20:")) + ";5:603:129:a,b;#SPN;20:5.14:129:VER";
        QTest::newRow("alarm text in the number")
            << QByteArrayList{"AT+CPBW=5,Alarm on #1,,ALARMON\r\n"} << QByteArrayList{"OK"}
            << before.left(before.indexOf(";20:")) + ";5:Alarm on #1:129:ALARMON;20:5.14:129:VER";
        QTest::newRow("bad type") << QByteArrayList{"AT+CPBW=5,1,abc,X\r\n"} << QByteArrayList{"ERROR"}
                                  << before;
        QTest::newRow("error mode 0") << QByteArrayList{"AT+CMEE=0\r\n", "AT+CPBW=99,1,,X\r\n"}
                                      << QByteArrayList{"OK", "ERROR"} << before;
        QTest::newRow("verbose errors") << QByteArrayList{"AT+CMEE=2\r\n", "AT+CPBW=99,1,,X\r\n"}
                                        << QByteArrayList{"OK", "+CME ERROR: invalid index"} << before;
    }

    void writes() {
        QFETCH(QByteArrayList, commands);
        QFETCH(QByteArrayList, answers);
        QFETCH(QByteArray, dump);
        UnitBench bench = quietUnit();
        QByteArrayList seen;
        for (const QByteArray &command : commands)
            seen += linesOf(bench.exchange(command));
        QCOMPARE(seen, answers);
        QByteArrayList entries;
        for (const IndexedEntry &used : bench.unit.sim().usedEntries())
            entries << QByteArray::number(used.index) + ':' + used.entry.number + ':' +
                           QByteArray::number(used.entry.type) + ':' + used.entry.name;
        QCOMPARE(entries.join(';'), dump);
    }

    void fullSimRefusesNewEntries() {
        QList<IndexedEntry> full;
        for (int i = 1; i <= 11; ++i)
            full.append({i, {"1", "N" + QByteArray::number(i), 129}});
        UnitBench bench = quietUnit(11, full);
        QCOMPARE(bench.exchange("AT+CPBW=,5,,NEW\r\n"), QByteArray("\r\n+CME ERROR: 20\r\n"));
        QCOMPARE(bench.exchange("AT+CPBW=6\r\n"), QByteArray("\r\nOK\r\n"));
        QCOMPARE(bench.exchange("AT+CPBW=,5,,NEW\r\n"), QByteArray("\r\nOK\r\n"));
        QCOMPARE(bench.unit.sim().entry(6)->name, QByteArray("NEW"));
    }

    // Every byte but CR goes into a name or number and comes back in the read unchanged.
    void everyByteRoundTrips() {
        UnitBench bench = quietUnit(40, QList<IndexedEntry>());
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            if (b != '\r')
                all.append(char(b));
        int index = 1;
        QByteArray expectedRead = "\r\n";
        for (qsizetype at = 0; at < all.size(); at += SimCard::NameLength, ++index) {
            const QByteArray name = all.mid(at, SimCard::NameLength);
            // Commas end a bare number; everything else may stand in it.
            QByteArray number = all.mid(at, SimCard::NumberLength);
            number.replace(',', "");
            QCOMPARE(
                bench.exchange("AT+CPBW=" + QByteArray::number(index) + "," + number + ",," + name + "\r\n"),
                QByteArray("\r\nOK\r\n"));
            QCOMPARE(bench.unit.sim().entry(index)->name, name);
            QCOMPARE(bench.unit.sim().entry(index)->number, number);
            expectedRead += "+CPBR: " + QByteArray::number(index) + ",\"" + number + "\"," +
                            QByteArray::number(SimEntry::typeOf(number)) + ",\"" + name + "\"\r\n";
        }
        QCOMPARE(bench.exchange("AT+CPBR=1,40\r\n"), expectedRead + "\r\nOK\r\n");
    }

    void ucs2Names() {
        UnitBench bench = quietUnit();
        QCOMPARE(bench.exchange("AT+CSCS=\"UCS2\"\r\n"), QByteArray("\r\nOK\r\n"));
        QCOMPARE(bench.exchange("AT+CPBR=4\r\n"),
                 QByteArray("\r\n+CPBR: 4,\"555\",129,\"004D00310032002D0031\"\r\n\r\nOK\r\n"));
        // U+0159 (r with caron) is the SIM's byte 0xF8 in Windows-1250.
        QCOMPARE(bench.exchange("AT+CPBW=5,1,,\"00410159\"\r\n"), QByteArray("\r\nOK\r\n"));
        QCOMPARE(bench.unit.sim().entry(5)->name, QByteArray("A\xf8"));
    }

    // Names are bytes in the SIM's code page (Windows-1250 unless told otherwise). IRA passes them as
    // they are; UCS2, GSM and 8859-1 show the characters they stand for, and a name written in those
    // sets is stored in the code page, or refused when the code page cannot hold a character of it.
    void charsets_data() {
        QTest::addColumn<QByteArray>("codePage");
        QTest::addColumn<QByteArrayList>("commands");
        QTest::addColumn<QByteArrayList>("answers");
        QTest::addColumn<QByteArray>("stored"); // the name at location 5 afterwards
        QTest::newRow("offered") << QByteArray("windows-1250") << QByteArrayList{"AT+CSCS=?\r\n"}
                                 << QByteArrayList{"+CSCS: (\"GSM\",\"IRA\",\"8859-1\",\"UCS2\")", "OK"}
                                 << QByteArray("Dvo\xf8\xe1k");
        QTest::newRow("IRA: the bytes")
            << QByteArray("windows-1250") << QByteArrayList{"AT+CPBR=5\r\n"}
            << QByteArrayList{"+CPBR: 5,\"731\",129,\"Dvo\xf8\xe1k\"", "OK"} << QByteArray("Dvo\xf8\xe1k");
        QTest::newRow("UCS2 read") << QByteArray("windows-1250")
                                   << QByteArrayList{"AT+CSCS=\"UCS2\";+CPBR=5\r\n"}
                                   << QByteArrayList{"+CPBR: 5,\"731\",129,\"00440076006F015900E1006B\"",
                                                     "OK"}
                                   << QByteArray("Dvo\xf8\xe1k");
        QTest::newRow("UCS2 read, Windows-1252")
            << QByteArray("windows-1252") << QByteArrayList{"AT+CSCS=\"UCS2\";+CPBR=5\r\n"}
            << QByteArrayList{"+CPBR: 5,\"731\",129,\"00440076006F00F800E1006B\"", "OK"}
            << QByteArray("Dvo\xf8\xe1k");
        QTest::newRow("UCS2 write")
            << QByteArray("windows-1250")
            << QByteArrayList{"AT+CSCS=\"UCS2\"\r\n",
                              "AT+CPBW=5,\"731\",129,\"017D006C00750165002020AC\"\r\n"}
            << QByteArrayList{"OK", "OK"} << QByteArray("\x8elu\x9d \x80");
        QTest::newRow("UCS2 write, a character Windows-1250 has not")
            << QByteArray("windows-1250")
            << QByteArrayList{"AT+CSCS=\"UCS2\"\r\n", "AT+CPBW=5,\"731\",129,\"004100F8\"\r\n"}
            << QByteArrayList{"OK", "+CME ERROR: 25"} << QByteArray("Dvo\xf8\xe1k");
        QTest::newRow("UCS2 write, not hex")
            << QByteArray("windows-1250")
            << QByteArrayList{"AT+CSCS=\"UCS2\"\r\n", "AT+CPBW=5,\"731\",129,\"00G1\"\r\n"}
            << QByteArrayList{"OK", "ERROR"} << QByteArray("Dvo\xf8\xe1k");
        QTest::newRow("GSM read: a character the alphabet has not is ?")
            << QByteArray("windows-1250") << QByteArrayList{"AT+CSCS=\"GSM\";+CPBR=5\r\n"}
            << QByteArrayList{"+CPBR: 5,\"731\",129,\"Dvo??k\"", "OK"} << QByteArray("Dvo\xf8\xe1k");
        QTest::newRow("GSM write with escapes")
            << QByteArray("windows-1250")
            << QByteArrayList{"AT+CSCS=\"GSM\"\r\n",
                              "AT+CPBW=5,\"731\",129,\"" + QByteArray("\x00\x11\x1b\x3c\x1b\x65\x7e\x05", 8) +
                                  "\"\r\n",
                              "AT+CPBR=5\r\n"}
            << QByteArrayList{"OK", "OK",
                              "+CPBR: 5,\"731\",129,\"" + QByteArray("\x00\x11\x1b\x3c\x1b\x65\x7e\x05", 8) +
                                  "\"",
                              "OK"}
            << QByteArray("@_[\x80\xfc\xe9");
        QTest::newRow("GSM write, not septets")
            << QByteArray("windows-1250")
            << QByteArrayList{"AT+CSCS=\"GSM\"\r\n", "AT+CPBW=5,\"731\",129,\"A\x80\"\r\n"}
            << QByteArrayList{"OK", "ERROR"} << QByteArray("Dvo\xf8\xe1k");
        QTest::newRow("GSM write, a character Windows-1250 has not")
            << QByteArray("windows-1250")
            << QByteArrayList{"AT+CSCS=\"GSM\"\r\n", "AT+CPBW=5,\"731\",129,\"\x01\"\r\n"}
            << QByteArrayList{"OK", "+CME ERROR: 25"} << QByteArray("Dvo\xf8\xe1k");
        QTest::newRow("8859-1 read") << QByteArray("windows-1250")
                                     << QByteArrayList{"AT+CSCS=\"8859-1\";+CPBR=5\r\n"}
                                     << QByteArrayList{"+CPBR: 5,\"731\",129,\"Dvo?\xe1k\"", "OK"}
                                     << QByteArray("Dvo\xf8\xe1k");
        QTest::newRow("UCS2 find") << QByteArray("windows-1250")
                                   << QByteArrayList{"AT+CSCS=\"UCS2\";+CPBF=\"00640076006F0159\"\r\n"}
                                   << QByteArrayList{"+CPBF: 5,\"731\",129,\"00440076006F015900E1006B\"",
                                                     "OK"}
                                   << QByteArray("Dvo\xf8\xe1k");
        QTest::newRow("back to IRA") << QByteArray("windows-1250")
                                     << QByteArrayList{"AT+CSCS=\"UCS2\"\r\n", "AT+CSCS=\"IRA\";+CPBR=5\r\n"}
                                     << QByteArrayList{"OK", "+CPBR: 5,\"731\",129,\"Dvo\xf8\xe1k\"", "OK"}
                                     << QByteArray("Dvo\xf8\xe1k");
        QTest::newRow("unknown set") << QByteArray("windows-1250") << QByteArrayList{"AT+CSCS=\"HEX\"\r\n"}
                                     << QByteArrayList{"ERROR"} << QByteArray("Dvo\xf8\xe1k");
    }

    void charsets() {
        QFETCH(QByteArray, codePage);
        QFETCH(QByteArrayList, commands);
        QFETCH(QByteArrayList, answers);
        QFETCH(QByteArray, stored);
        UnitOptions options =
            UnitBench::stoppedOptions(20, QList<IndexedEntry>{{5, {"731", "Dvo\xf8\xe1k", 129}}});
        options.codePage = codePage;
        UnitBench bench(options);
        bench.exchange("ATE0\r\n");
        QByteArrayList seen;
        for (const QByteArray &command : commands)
            seen += linesOf(bench.exchange(command));
        QCOMPARE(seen, answers);
        QCOMPARE(bench.unit.sim().entry(5)->name, stored);
    }

    // What a standard client (gammu) sends while it sets up and around a phone-book back-up and restore.
    void clientInitialisation_data() {
        QTest::addColumn<QByteArrayList>("commands");
        QTest::addColumn<QByteArrayList>("answers");
        QTest::newRow("functionality") << QByteArrayList{"AT+CFUN?\r\n"} << QByteArrayList{"+CFUN: 1", "OK"};
        QTest::newRow("full functionality") << QByteArrayList{"AT+CFUN=1\r\n"} << QByteArrayList{"OK"};
        QTest::newRow("levels") << QByteArrayList{"AT+CFUN=?\r\n"}
                                << QByteArrayList{"+CFUN: (0,1,2,4,5,7,9),(0,1)", "OK"};
        QTest::newRow("radio off and back")
            << QByteArrayList{"AT+CFUN=4\r\n", "AT+CFUN?\r\n", "AT+CPBR=1\r\n", "AT+CFUN=1,0;+CFUN?\r\n"}
            << QByteArrayList{"OK", "+CFUN: 4", "OK", "+CPBR: 1,\"+420603111222\",145,\"ADMIN1\"",
                              "OK", "+CFUN: 1", "OK"};
        QTest::newRow("no such level") << QByteArrayList{"AT+CFUN=3\r\n", "AT+CFUN=1,2\r\n", "AT+CFUN=\r\n"}
                                       << QByteArrayList{"ERROR", "ERROR", "ERROR"};
        QTest::newRow("subscriber") << QByteArrayList{"AT+CIMI\r\n"}
                                    << QByteArrayList{"230011234567890", "OK"};
        QTest::newRow("hang up") << QByteArrayList{"AT+CHUP=?\r\n", "AT+CHUP\r\n"}
                                 << QByteArrayList{"OK", "OK"};
        QTest::newRow("clock") << QByteArrayList{"AT+CCLK?\r\n", "AT+CCLK=\"26/12/10,14:58:14+04\"\r\n",
                                                 "AT+CCLK?\r\n"}
                               << QByteArrayList{"+CCLK: \"00/01/01,00:00:00+00\"", "OK", "OK",
                                                 "+CCLK: \"26/12/10,14:58:14+04\"", "OK"};
        QTest::newRow("no such time")
            << QByteArrayList{"AT+CCLK=\"26/02/30,14:58:14+00\"\r\n", "AT+CCLK=\"26/12/10,24:00:00+00\"\r\n",
                              "AT+CCLK=\"26/12/10 14:58:14+00\"\r\n", "AT+CCLK=26/12/10,14:58:14+00\r\n"}
            << QByteArrayList{"ERROR", "ERROR", "ERROR", "ERROR"};
        QTest::newRow("service centre")
            << QByteArrayList{"AT+CSCA?\r\n", "AT+CSCA=\"+420602909909\",145;+CSCA?\r\n"}
            << QByteArrayList{"+CSCA: \"+420603052000\",145", "OK", "+CSCA: \"+420602909909\",145", "OK"};
        QTest::newRow("service centre in UCS2")
            << QByteArrayList{"AT+CSCS=\"UCS2\";+CSCA?\r\n"}
            << QByteArrayList{"+CSCA: \"002B003400320030003600300033003000350032003000300030\",145", "OK"};
        QTest::newRow("other makers' commands stay refused")
            << QByteArrayList{"AT+CPROT=?\r\n", "AT+SYNCML=?\r\n", "AT$TSSPCSW=?\r\n", "AT+MODE=2\r\n",
                              "AT^SBNR=?\r\n",  "AT+SPBR=?\r\n",   "AT+MPBR=?\r\n"}
            << QByteArrayList{"ERROR", "ERROR", "ERROR", "ERROR", "ERROR", "ERROR", "ERROR"};
    }

    void clientInitialisation() {
        QFETCH(QByteArrayList, commands);
        QFETCH(QByteArrayList, answers);
        UnitBench bench = quietUnit();
        QByteArrayList seen;
        for (const QByteArray &command : commands)
            seen += linesOf(bench.exchange(command));
        QCOMPARE(seen, answers);
    }

    // The clock runs on from the time it was set to, across a restart.
    void clockRuns() {
        UnitBench bench = quietUnit();
        bench.exchange("AT+CCLK=\"26/12/31,23:59:58-08\"\r\n");
        bench.advance(3500);
        QCOMPARE(linesOf(bench.exchange("AT+CCLK?\r\n")),
                 (QByteArrayList{"+CCLK: \"27/01/01,00:00:01-08\"", "OK"}));
    }

    // A second argument 1 restarts the module once the line is answered: the script starts again.
    void functionalityWithReset() {
        UnitBench bench = quietUnit();
        const QByteArray answer = bench.exchange("AT+CFUN=4,1\r\n");
        QVERIFY2(answer.startsWith("\r\nOK\r\n#CBC: 0,405\r\n"), answer.constData());
        QCOMPARE(bench.unit.scriptState(), ScriptState::Running);
        QVERIFY(bench.unit.echo());
    }

    void lteIdentity() {
        UnitOptions options = UnitBench::stoppedOptions(20);
        options.variant = Variant::Lte;
        UnitBench bench(options);
        bench.exchange("ATE0\r\n");
        QCOMPARE(bench.exchange("AT+CGMM\r\n"), QByteArray("\r\nLE910C1-EUX\r\n\r\nOK\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestSimVocabulary)
#include "tst_sim_vocabulary.moc"
