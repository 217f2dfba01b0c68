// Progress and outcome in words: the estimate of the time left and the texts built from it.
#include "progressreport.h"

#include <QTest>

using namespace oxa;

class TestProgress : public QObject {
    Q_OBJECT
private slots:
    void estimateFollowsThePace();
    void texts_data();
    void texts();
    void signal_data();
    void signal();
};

void TestProgress::estimateFollowsThePace() {
    ProgressEstimate estimate;
    // Unknown pace, no known cost: nothing to say.
    estimate.start(10, 1000);
    QCOMPARE(estimate.secondsLeft(1000), std::nullopt);
    // A write: every step costs its 200 ms pause at least.
    estimate.start(277, 0, 200);
    QCOMPARE(estimate.secondsLeft(0), 56); // 277 × 0.2 s, rounded up
    estimate.stepDone(2, 1000);            // too few steps to trust their pace
    QCOMPARE(estimate.secondsLeft(1000), 55);
    estimate.stepDone(27, 6750); // 250 ms a step so far
    QCOMPARE(estimate.secondsLeft(6750), 63);
    estimate.stepDone(277, 70000);
    QCOMPARE(estimate.secondsLeft(70000), 0);
    // A pace faster than the known cost is not believed.
    estimate.start(100, 0, 200);
    estimate.stepDone(50, 1000);
    QCOMPARE(estimate.secondsLeft(1000), 10);
}

void TestProgress::texts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const QString dot = QStringLiteral(" \u00b7 ");
    QTest::newRow("write") << progressText(u"Writing", 27, 277, 40)
                           << "Writing 27 / 277" + dot + "about 40 s left";
    QTest::newRow("minutes") << progressText(u"Writing", 1, 1000, 199)
                             << "Writing 1 / 1000" + dot + "about 4 min left";
    QTest::newRow("no estimate") << progressText(u"Reading", 12, 250, std::nullopt)
                                 << QString("Reading 12 / 250");
    QTest::newRow("done") << progressText(u"Reading", 250, 250, 0) << QString("Reading 250 / 250");
    QTest::newRow("read") << readOutcome(250) << QString("Read 250 entries");
    QTest::newRow("read one") << readOutcome(1) << QString("Read 1 entry");
    QTest::newRow("write outcome") << writeOutcome(31) << QString("Written and read back: 31 entries");
    QTest::newRow("upload") << uploadOutcome(6) << QString("Upload finished: 6 steps");
}

void TestProgress::texts() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(text, expected);
}

void TestProgress::signal_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("description");
    QTest::newRow("0") << 0 << "+CSQ 0 (-113 dBm)";
    QTest::newRow("15") << 15 << "+CSQ 15 (-83 dBm)";
    QTest::newRow("31") << 31 << "+CSQ 31 (-51 dBm)";
    QTest::newRow("99 no measurement") << 99 << "+CSQ 99 (no measurement)";
    QTest::newRow("negative") << -1 << "+CSQ -1 (no measurement)";
}

void TestProgress::signal() {
    QFETCH(int, level);
    QFETCH(QString, description);
    QCOMPARE(signalDescription(level), description);
}

QTEST_APPLESS_MAIN(TestProgress)
#include "tst_protocol_progress.moc"
