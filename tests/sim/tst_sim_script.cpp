#include "simfixture.h"

#include <QTest>

using namespace oxa::sim;
using namespace oxa::sim::test;

// The device script on top of the module: who owns the line, how it stops on DTR and starts again.
class TestSimScript : public QObject {
    Q_OBJECT

    static UnitOptions runningOptions(Variant variant, Timing timing = Timing::instant()) {
        UnitOptions options;
        options.variant = variant;
        options.startRunning = true;
        options.timing = timing;
        return options;
    }

    static bool anyContains(const QByteArrayList &lines, const QByteArray &part) {
        return std::any_of(lines.begin(), lines.end(),
                           [&](const QByteArray &line) { return line.contains(part); });
    }

private slots:
    // The handshakes as the program sees them, line by line.
    void stopAndRun_data() {
        QTest::addColumn<int>("variant");
        QTest::addColumn<QByteArrayList>("afterDtrRaised");
        QTest::addColumn<QByteArrayList>("afterEchoOff");
        QTest::addColumn<QByteArrayList>("afterOperator");
        QTest::newRow("classic") << int(Variant::Classic) << QByteArrayList{"STOP"}
                                 << QByteArrayList{"ATE0", "OK", "[AT#SLED=1]="}
                                 << QByteArrayList{"#SPN: T-Mobile CZ", "OK"};
        QTest::newRow("lte") << int(Variant::Lte) << QByteArrayList{"#APLAYEV: 0"}
                             << QByteArrayList{"ATE0", "OK"} << QByteArrayList{"#SPN: T-Mobile CZ", "OK"};
    }

    void stopAndRun() {
        QFETCH(int, variant);
        QFETCH(QByteArrayList, afterDtrRaised);
        QFETCH(QByteArrayList, afterEchoOff);
        QFETCH(QByteArrayList, afterOperator);
        const bool lte = Variant(variant) == Variant::Lte;
        UnitBench bench(runningOptions(Variant(variant)));

        // The running script owns the line: the program's start-up commands go nowhere.
        QCOMPARE(bench.exchange("ATE0\r\nAT+CGMI\r\n"), QByteArray());
        QCOMPARE(bench.unit.scriptState(), ScriptState::Running);

        QCOMPARE(linesOf(bench.setDtr(true)), afterDtrRaised);
        QCOMPARE(linesOf(bench.exchange("ATE0\r\n")), afterEchoOff);
        QCOMPARE(bench.unit.scriptState(), ScriptState::Stopped);
        QCOMPARE(linesOf(bench.exchange(lte ? "AT#SPN\r\n" : "ATE0;#SPN\r\n")), afterOperator);
        QCOMPARE(linesOf(bench.exchange("AT+CPBR=?\r\n")), (QByteArrayList{"+CPBR: (1-250),40,18", "OK"}));

        // Run: lower DTR; the classic unit also needs its reboot command.
        QByteArrayList run = linesOf(bench.setDtr(false));
        if (!lte) {
            QCOMPARE(run, QByteArrayList());
            QCOMPARE(linesOf(bench.exchange("AT\r\n")), QByteArrayList{"OK"});
            run = linesOf(bench.exchange("AT#REBOOT\r\n"));
        }
        run += linesOf(bench.advance(0));
        QVERIFY2(anyContains(run, "#CBC:"), run.join(" | "));
        QVERIFY(anyContains(run, "COPS"));
        QVERIFY(anyContains(run, "AT#tone=i,4]"));
        QCOMPARE(bench.unit.scriptState(), ScriptState::Running);
        QVERIFY(bench.unit.echo());
        QCOMPARE(bench.exchange("AT\r\n"), QByteArray());
    }

    // A stopped classic unit that is rebooted with DTR still raised stops again at once.
    void rebootWithDtrRaisedStopsAgain() {
        UnitBench bench(runningOptions(Variant::Classic));
        bench.setDtr(true);
        bench.exchange("ATE0\r\n");
        const QByteArrayList lines = linesOf(bench.exchange("AT#REBOOT\r\n") + bench.advance(0));
        QCOMPARE(lines, (QByteArrayList{"OK", "STOP"}));
        // Echo is back on after the reboot, so the program's echo-off is echoed once more.
        QCOMPARE(linesOf(bench.exchange("ATE0\r\n")), (QByteArrayList{"ATE0", "OK", "[AT#SLED=1]="}));
    }

    // Boot, stop report and status lines take the unit's own time.
    void timedWithTheUnitsClock() {
        Timing timing = Timing::instant();
        timing.bootMs = 3000;
        timing.stopReportMs = 300;
        timing.bootLineGapMs = 100;
        timing.statusPeriodMs = 10000;
        UnitBench bench(runningOptions(Variant::Classic, timing));
        bench.setDtr(true);
        QCOMPARE(bench.advance(299), QByteArray());
        QCOMPARE(linesOf(bench.advance(1)), QByteArrayList{"STOP"});
        bench.exchange("ATE0\r\n");
        bench.setDtr(false);
        QCOMPARE(linesOf(bench.exchange("AT#REBOOT\r\n")), QByteArrayList{"OK"});
        QCOMPARE(bench.unit.scriptState(), ScriptState::Rebooting);
        QCOMPARE(bench.exchange("AT\r\n"), QByteArray());
        QCOMPARE(bench.advance(2999), QByteArray());
        QCOMPARE(linesOf(bench.advance(1)), QByteArrayList{"#CBC: 0,405"});
        QCOMPARE(linesOf(bench.advance(1000)).size(), 4);
        // Status rounds then come every ten seconds.
        const QByteArrayList minute = linesOf(bench.advance(60000));
        QCOMPARE(std::count_if(minute.begin(), minute.end(),
                               [](const QByteArray &l) { return l.startsWith("#CBC:"); }),
                 6);
        QVERIFY(minute.contains("+CREG: 0,1"));
    }

    // DTR raised and lowered before the script notices: no stop.
    void shortDtrPulseIsNotAStop() {
        Timing timing = Timing::instant();
        timing.stopReportMs = 300;
        UnitBench bench(runningOptions(Variant::Classic, timing));
        bench.setDtr(true);
        bench.advance(100);
        bench.setDtr(false);
        QCOMPARE(bench.advance(1000), QByteArray());
        QCOMPARE(bench.unit.scriptState(), ScriptState::Running);
    }

    // Without its script file the module comes up taking commands.
    void noScriptFileNoScript() {
        UnitBench bench(runningOptions(Variant::Classic));
        bench.setDtr(true);
        bench.exchange("ATE0\r\n");
        QCOMPARE(linesOf(bench.exchange("AT#DSCRIPT=oxa.pyo\r\n")), QByteArrayList{"OK"});
        bench.setDtr(false);
        bench.exchange("AT#REBOOT\r\n");
        bench.advance(0);
        QCOMPARE(bench.unit.scriptState(), ScriptState::Stopped);
        QCOMPARE(linesOf(bench.exchange("AT\r\n")), (QByteArrayList{"AT", "OK"}));
    }

    // The LTE unit restarts when DTR goes down, without any command.
    void lteRestartsOnDtrAlone() {
        UnitBench bench(runningOptions(Variant::Lte));
        bench.setDtr(true);
        QCOMPARE(bench.unit.scriptState(), ScriptState::Stopped);
        const QByteArrayList lines = linesOf(bench.setDtr(false) + bench.advance(0));
        QVERIFY2(anyContains(lines, "#CBC:"), lines.join(" | "));
        QCOMPARE(bench.unit.scriptState(), ScriptState::Running);
    }

    void stoppedAtStart() {
        UnitOptions options = runningOptions(Variant::Classic);
        options.startRunning = false;
        UnitBench bench(options);
        QCOMPARE(linesOf(bench.exchange("ATE0\r\nAT+CGMI\r\n")),
                 (QByteArrayList{"ATE0", "OK", "Telit", "OK"}));
        QCOMPARE(bench.advance(60000), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestSimScript)
#include "tst_sim_script.moc"
