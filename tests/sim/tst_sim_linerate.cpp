#include "clock.h"
#include "unithost.h"
#include "wire.h"

#include <QSignalSpy>
#include <QTest>

using namespace oxa::sim;

// The line rate as arithmetic on virtual time: 115200 bit/s 8N1 is 11520 bytes a second.
class TestSimLineRate : public QObject {
    Q_OBJECT

private slots:
    void bytesCrossAtTheLineRate_data() {
        QTest::addColumn<qint64>("atNs");
        QTest::addColumn<int>("crossed");
        QTest::newRow("start") << qint64(0) << 0;
        QTest::newRow("just before the first byte") << qint64(86805) << 0;
        QTest::newRow("first byte") << qint64(86806) << 1;
        QTest::newRow("10 ms") << 10 * NsPerMs << 115;
        QTest::newRow("half a second") << NsPerSecond / 2 << 5760;
        QTest::newRow("one second") << NsPerSecond << 11520;
        QTest::newRow("long after") << 10 * NsPerSecond << 20000;
    }

    void bytesCrossAtTheLineRate() {
        QFETCH(qint64, atNs);
        QFETCH(int, crossed);
        Wire wire;
        wire.setBitsPerSecond(115200);
        wire.push(QByteArray(20000, 'x'), 0);
        QCOMPARE(wire.take(atNs).size(), crossed);
        QCOMPARE(wire.pendingBytes(), 20000 - crossed);
    }

    // Taken in many small steps, the total is the same as in one.
    void stepsDoNotLoseTime() {
        Wire wire;
        wire.setBitsPerSecond(115200);
        wire.push(QByteArray(30000, 'x'), 0);
        qint64 total = 0;
        for (qint64 t = 0; t <= 2 * NsPerSecond; t += 1'234'567)
            total += wire.take(t).size();
        total += wire.take(2 * NsPerSecond).size();
        QCOMPARE(total, qint64(23040));
    }

    // A line that fell silent starts the next transmission when it is handed over, not earlier.
    void idleLineStartsAfresh() {
        Wire wire;
        wire.setBitsPerSecond(115200);
        wire.push("ab", 0);
        QCOMPARE(wire.take(NsPerSecond), QByteArray("ab"));
        wire.push("cd", 5 * NsPerSecond);
        QCOMPARE(wire.take(5 * NsPerSecond + 86805), QByteArray());
        QCOMPARE(wire.nextArrivalNs(), std::optional<qint64>(5 * NsPerSecond + 86806));
        QCOMPARE(wire.take(5 * NsPerSecond + 173612), QByteArray("cd"));
    }

    void unthrottledKeepsOrderAndTime() {
        Wire wire;
        wire.push("later", 100);
        wire.push("after", 50); // never overtakes what was queued before
        QCOMPARE(wire.take(99), QByteArray());
        QCOMPARE(wire.nextArrivalNs(), std::optional<qint64>(100));
        QCOMPARE(wire.take(100), QByteArray("laterafter"));
    }

    // Through the host, on a manual clock: an answer of 11,520 bytes takes one second of unit time.
    void hostThrottlesBothWays() {
        UnitOptions options;
        options.startRunning = false;
        options.simSize = 250;
        options.timing = Timing::instant();
        options.timing.lineBitsPerSecond = 115200;
        QList<IndexedEntry> content;
        for (int i = 1; i <= 250; ++i)
            content.append(
                {i, {"+420603000" + QByteArray::number(100 + i), "Entry " + QByteArray::number(i), 145}});
        options.simContent = content;
        UnitHost host(options, std::make_unique<ManualClock>());
        QByteArray received;
        connect(&host, &UnitHost::output, this, [&](const QByteArray &bytes) { received += bytes; });

        host.send("ATE0\r\n");
        QCOMPARE(host.bytesToWrite(), qint64(6));
        host.advance(1);
        QCOMPARE(host.bytesToWrite(), qint64(0));
        host.advance(10);
        QVERIFY(received.endsWith("OK\r\n"));

        received.clear();
        host.send("AT+CPBR=1,250\r\n");
        host.advance(100);
        const qsizetype afterTenthOfASecond = received.size();
        // 15 bytes of command in, then 1152 bytes a tenth of a second out, less the command's own time.
        QVERIFY2(afterTenthOfASecond > 1100 && afterTenthOfASecond <= 1152,
                 QByteArray::number(afterTenthOfASecond));
        host.advance(10000);
        QVERIFY(received.endsWith("\r\nOK\r\n"));
        QCOMPARE(received.count("+CPBR:"), 250);
    }
};

QTEST_GUILESS_MAIN(TestSimLineRate)
#include "tst_sim_linerate.moc"
