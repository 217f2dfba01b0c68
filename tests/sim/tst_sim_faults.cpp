#include "control.h"
#include "fault.h"
#include "oxafile.h"
#include "simfixture.h"

#include <QTest>

using namespace oxa::sim;
using namespace oxa::sim::test;

Q_DECLARE_METATYPE(oxa::sim::Fault)

// Fault injection, the control lines of the command-line simulator and its configuration-file reader.
class TestSimFaults : public QObject {
    Q_OBJECT

    static UnitBench quietUnit() {
        UnitBench bench;
        bench.exchange("ATE0\r\n");
        return bench;
    }

private slots:
    void parse_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<Fault>("fault");
        QTest::newRow("error") << QByteArray("error") << true << Fault{Fault::Kind::Error, 1, 0};
        QTest::newRow("error 3") << QByteArray("error 3") << true << Fault{Fault::Kind::Error, 3, 0};
        QTest::newRow("cme") << QByteArray("cme 13") << true << Fault{Fault::Kind::CmeError, 1, 13};
        QTest::newRow("cme twice") << QByteArray(" CME  10 2 ") << true
                                   << Fault{Fault::Kind::CmeError, 2, 10};
        QTest::newRow("silent") << QByteArray("silent 2") << true << Fault{Fault::Kind::Silent, 2, 0};
        QTest::newRow("garbage") << QByteArray("garbage") << true << Fault{Fault::Kind::Garbage, 64, 0};
        QTest::newRow("endless") << QByteArray("endless") << true << Fault{Fault::Kind::Endless, 0, 0};
        QTest::newRow("endless 500") << QByteArray("endless 500") << true
                                     << Fault{Fault::Kind::Endless, 500, 0};
        QTest::newRow("hangup") << QByteArray("hangup") << true << Fault{Fault::Kind::HangUp, 1, 0};
        QTest::newRow("clear") << QByteArray("clear") << true << Fault{Fault::Kind::Clear, 1, 0};
        QTest::newRow("cme without code") << QByteArray("cme") << false << Fault{};
        QTest::newRow("negative") << QByteArray("error -1") << false << Fault{};
        QTest::newRow("extra word") << QByteArray("hangup now") << false << Fault{};
        QTest::newRow("unknown") << QByteArray("explode") << false << Fault{};
        QTest::newRow("empty") << QByteArray("") << false << Fault{};
    }

    void parse() {
        QFETCH(QByteArray, text);
        QFETCH(bool, valid);
        QFETCH(Fault, fault);
        QString error;
        const std::optional<Fault> parsed = parseFault(text, &error);
        QCOMPARE(parsed.has_value(), valid);
        if (valid)
            QCOMPARE(*parsed, fault);
        else
            QVERIFY(!error.isEmpty());
    }

    // Command faults take the next command lines in order, then the module answers normally again.
    void commandFaults() {
        UnitBench bench = quietUnit();
        bench.unit.injectFault({Fault::Kind::Error, 2, 0});
        bench.unit.injectFault({Fault::Kind::CmeError, 1, 13});
        bench.unit.injectFault({Fault::Kind::Silent, 1, 0});
        QCOMPARE(bench.exchange("AT+CPBW=1,5,,X\r\n"), QByteArray("\r\nERROR\r\n"));
        QCOMPARE(bench.exchange("AT+CGMI\r\n"), QByteArray("\r\nERROR\r\n"));
        QCOMPARE(bench.exchange("AT\r\n"), QByteArray("\r\n+CME ERROR: 13\r\n"));
        QCOMPARE(bench.exchange("AT+CPBW=1,5,,X\r\n"), QByteArray());
        // None of the faulted commands was carried out.
        QCOMPARE(bench.unit.sim().entry(1)->name, QByteArray("ADMIN1"));
        QCOMPARE(bench.exchange("AT+CGMI\r\n"), QByteArray("\r\nTelit\r\n\r\nOK\r\n"));
    }

    void clearDropsPendingFaults() {
        UnitBench bench = quietUnit();
        bench.unit.injectFault({Fault::Kind::Error, 5, 0});
        bench.unit.injectFault({Fault::Kind::Clear, 1, 0});
        QCOMPARE(bench.exchange("AT\r\n"), QByteArray("\r\nOK\r\n"));
    }

    void garbage() {
        UnitBench bench = quietUnit();
        bench.unit.injectFault({Fault::Kind::Garbage, 300, 0});
        QCOMPARE(bench.unit.takeOutput().size(), 300);
        QCOMPARE(bench.exchange("AT\r\n"), QByteArray("\r\nOK\r\n"));
    }

    // An endless line never ends a line, holds back the answers, and lets them go when it stops.
    void endlessLine() {
        UnitBench bench = quietUnit();
        bench.unit.injectFault({Fault::Kind::Endless, 0, 0});
        QByteArray flood;
        for (int turn = 0; turn < 5; ++turn)
            flood += bench.exchange(turn == 0 ? "AT+CGMI\r\n" : "");
        QVERIFY(flood.size() >= 5 * 4096);
        QVERIFY(!flood.contains('\r'));
        QVERIFY(!flood.contains('\n'));
        bench.unit.injectFault({Fault::Kind::Clear, 1, 0});
        QCOMPARE(bench.unit.takeOutput(), QByteArray("\r\nTelit\r\n\r\nOK\r\n"));
        QCOMPARE(bench.unit.nextEventNs(), std::nullopt);
    }

    void endlessLineOfGivenLength() {
        UnitBench bench = quietUnit();
        bench.unit.injectFault({Fault::Kind::Endless, 10000, 0});
        QByteArray flood;
        while (bench.unit.nextEventNs())
            flood += bench.advance(0);
        QCOMPARE(flood.size(), 10000);
    }

    void hangUpIsReportedOnce() {
        UnitBench bench = quietUnit();
        QVERIFY(!bench.unit.takeHangUp());
        bench.unit.injectFault({Fault::Kind::HangUp, 1, 0});
        QVERIFY(bench.unit.takeHangUp());
        QVERIFY(!bench.unit.takeHangUp());
    }

    void controlLines_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("dtr");
        QTest::newRow("dtr 1") << QByteArray("dtr 1") << int(ControlLine::Kind::Dtr) << true;
        QTest::newRow("dtr 0") << QByteArray("  dtr 0\r") << int(ControlLine::Kind::Dtr) << false;
        QTest::newRow("dtr 2") << QByteArray("dtr 2") << int(ControlLine::Kind::Invalid) << false;
        QTest::newRow("dump") << QByteArray("dump") << int(ControlLine::Kind::Dump) << false;
        QTest::newRow("quit") << QByteArray("QUIT") << int(ControlLine::Kind::Quit) << false;
        QTest::newRow("fault") << QByteArray("fault cme 21 2") << int(ControlLine::Kind::Fault) << false;
        QTest::newRow("bad fault") << QByteArray("fault nonsense") << int(ControlLine::Kind::Invalid)
                                   << false;
        QTest::newRow("empty") << QByteArray("") << int(ControlLine::Kind::Empty) << false;
        QTest::newRow("dump with junk") << QByteArray("dump all") << int(ControlLine::Kind::Invalid) << false;
    }

    void controlLines() {
        QFETCH(QByteArray, line);
        QFETCH(int, kind);
        QFETCH(bool, dtr);
        const ControlLine control = parseControlLine(line);
        QCOMPARE(int(control.kind), kind);
        QCOMPARE(control.dtr, dtr);
        QCOMPARE(control.error.isEmpty(), control.kind != ControlLine::Kind::Invalid);
    }

    void dump() {
        SimCard sim(10);
        sim.write(3, {"+420 1", "Jan,Novak", 145});
        sim.write(1, {"1", "DETECT", 129});
        QCOMPARE(dumpText(sim), QByteArray("1,1,DETECT\n3,+420 1,Jan,Novak\nend\n"));
    }

    void oxaFile_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("sim"); // index:name=number, ";"-separated
        QTest::newRow("saved file")
            << QByteArray("ADMIN1=+420603111222\r\nADMIN2=\r\nALARMON=Alarm on\r\n"
                          "PARAMOXA=4#4#0#0#1#7#2#0\r\nPARAMRL1=5#1#03#1\r\nPARAMRL2=6#1#03#1\r\n"
                          "M12-1=555\r\nGate=603\r\n=\r\n")
            << QByteArray("1:ADMIN1=+420603111222;2:ALARMON=Alarm on;3:PAROXA=4#4#0#0#1#7#2#0;"
                          "4:PARRL1=5#1#03#1;5:PARRL2=6#1#03#1;6:M12-1=555;7:Gate=603");
        QTest::newRow("keys go first, in their order, case ignored")
            << QByteArray("Gate=603\nparamrl1=1#1#05#0\nadmin2=602\nAdmin2=777\n")
            << QByteArray("1:ADMIN2=602;2:PARRL1=1#1#05#0;3:Gate=603;4:Admin2=777");
        QTest::newRow("value holds =") << QByteArray("C12C=1#0=x\r") << QByteArray("1:C12C=1#0=x");
        QTest::newRow("line without =") << QByteArray("just text\r\nX=1\r\n") << QByteArray("1:X=1");
        QTest::newRow("bytes kept") << QByteArray("Dvo\xf8\xe1k=1\r\n") << QByteArray("1:Dvo\xf8\xe1k=1");
        QTest::newRow("empty file") << QByteArray() << QByteArray();
    }

    void oxaFile() {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, sim);
        QByteArrayList entries;
        for (const IndexedEntry &entry : simContentFromOxa(content))
            entries << QByteArray::number(entry.index) + ':' + entry.entry.name + '=' + entry.entry.number;
        QCOMPARE(entries.join(';'), sim);
    }
};

QTEST_GUILESS_MAIN(TestSimFaults)
#include "tst_sim_faults.moc"
