#include "simfixture.h"

#include <QTest>

using namespace oxa::sim;
using namespace oxa::sim::test;

// Files written into the module: prompt, raw bytes, OK, and the send event.
class TestSimFiles : public QObject {
    Q_OBJECT

    static QByteArray everyByteValue(int repeats) {
        QByteArray bytes;
        for (int r = 0; r < repeats; ++r)
            for (int b = 0; b < 256; ++b)
                bytes.append(char((b + r * 7) & 0xff));
        return bytes;
    }

    static UnitBench quietUnit() {
        UnitBench bench;
        bench.exchange("ATE0\r\n");
        return bench;
    }

private slots:
    void writeScript_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("chunk"); // bytes per piece the program hands over
        QTest::newRow("every byte value, one piece") << everyByteValue(4) << 0;
        QTest::newRow("every byte value, byte by byte") << everyByteValue(1) << 1;
        QTest::newRow("in odd pieces") << everyByteValue(3) << 97;
        QTest::newRow("starts with a line end") << QByteArray("\n\r\nAT\r\nOK\r\n") << 0;
        QTest::newRow("one byte") << QByteArray("\r") << 0;
    }

    void writeScript() {
        QFETCH(QByteArray, data);
        QFETCH(int, chunk);
        UnitBench bench = quietUnit();
        const QByteArray command = "AT#WSCRIPT=upgrade.pyo," + QByteArray::number(data.size()) + "\r\n";
        QCOMPARE(bench.exchange(command), QByteArray("\r\n>>>"));
        QVERIFY(bench.unit.inDataMode());

        QByteArray answer;
        const qsizetype step = chunk > 0 ? chunk : data.size();
        for (qsizetype at = 0; at < data.size(); at += step)
            answer += bench.exchange(data.mid(at, step));
        QCOMPARE(answer, QByteArray("\r\nOK\r\n"));
        QCOMPARE(bench.unit.files().file("upgrade.pyo"), std::optional<QByteArray>(data));
        // Nothing of the file is taken for a command, and the next command is answered normally.
        QCOMPARE(bench.exchange("AT\r\n"), QByteArray("\r\nOK\r\n"));
    }

    // A file name as the upload list gives it, commas and all; the size follows the last comma.
    void bareNameWithCommas() {
        UnitBench bench = quietUnit();
        QCOMPARE(bench.exchange("AT#WSCRIPT=C:\\units\\a,b.pyo,3\r\n"), QByteArray("\r\n>>>"));
        QCOMPARE(bench.exchange("xyz"), QByteArray("\r\nOK\r\n"));
        QCOMPARE(bench.unit.files().file("C:\\units\\a,b.pyo"), std::optional<QByteArray>("xyz"));
    }

    void quotedNameWithHiddenFlag() {
        UnitBench bench = quietUnit();
        QCOMPARE(bench.exchange("AT#WSCRIPT=\"main.py\",2,1\r\n"), QByteArray("\r\n>>>"));
        QCOMPARE(bench.exchange("ok"), QByteArray("\r\nOK\r\n"));
        QCOMPARE(bench.unit.files().file("main.py"), std::optional<QByteArray>("ok"));
    }

    void refused_data() {
        QTest::addColumn<QByteArray>("command");
        QTest::newRow("no size") << QByteArray("AT#WSCRIPT=a.py\r\n");
        QTest::newRow("size 0") << QByteArray("AT#WSCRIPT=a.py,0\r\n");
        QTest::newRow("size not a number") << QByteArray("AT#WSCRIPT=a.py,12k\r\n");
        QTest::newRow("no name") << QByteArray("AT#WSCRIPT=,5\r\n");
        QTest::newRow("larger than the file system") << QByteArray("AT#WSCRIPT=a.py,9000000\r\n");
        QTest::newRow("delete a missing file") << QByteArray("AT#DSCRIPT=none.py\r\n");
    }

    void refused() {
        QFETCH(QByteArray, command);
        UnitBench bench = quietUnit();
        QCOMPARE(bench.exchange(command), QByteArray("\r\nERROR\r\n"));
        QVERIFY(!bench.unit.inDataMode());
    }

    // "AT#ASEND=": CONNECT, the bytes, OK, then the completion event.
    void sendFile() {
        UnitBench bench = quietUnit();
        const QByteArray data = everyByteValue(2);
        QCOMPARE(linesOf(bench.exchange("AT#ASEND=bell.wav," + QByteArray::number(data.size()) + "\r\n")),
                 QByteArrayList{"CONNECT"});
        const QByteArrayList after = linesOf(bench.exchange(data) + bench.advance(0));
        QCOMPARE(after, (QByteArrayList{"OK", "#ASENDEV: 0"}));
        QCOMPARE(bench.unit.files().file("bell.wav"), std::optional<QByteArray>(data));
    }

    void selectListAndDelete() {
        UnitBench bench = quietUnit();
        bench.exchange("AT#WSCRIPT=new.pyo,4\r\n");
        bench.exchange("abcd");
        QCOMPARE(linesOf(bench.exchange("AT#ESCRIPT=new.pyo\r\n")), QByteArrayList{"OK"});
        QCOMPARE(bench.unit.files().startScript(), QByteArray("new.pyo"));
        QCOMPARE(linesOf(bench.exchange("AT#ESCRIPT?\r\n")), (QByteArrayList{"#ESCRIPT: \"new.pyo\"", "OK"}));
        const QByteArrayList listing = linesOf(bench.exchange("AT#LSCRIPT\r\n"));
        QVERIFY(listing.contains("#LSCRIPT: \"new.pyo\",4"));
        QCOMPARE(linesOf(bench.exchange("AT#DSCRIPT=new.pyo\r\n")), QByteArrayList{"OK"});
        QVERIFY(!bench.unit.files().contains("new.pyo"));
    }

    // The file system's write speed delays the OK, on the unit's clock.
    void writeSpeed() {
        UnitOptions options = UnitBench::stoppedOptions();
        options.timing.fileWriteBytesPerSecond = 1000;
        UnitBench bench(options);
        bench.exchange("ATE0\r\n");
        bench.exchange("AT#WSCRIPT=a.py,500\r\n");
        QCOMPARE(bench.exchange(QByteArray(500, 'x')), QByteArray());
        QCOMPARE(bench.advance(499), QByteArray());
        QCOMPARE(bench.advance(1), QByteArray("\r\nOK\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestSimFiles)
#include "tst_sim_files.moc"
