// Seeded random sessions of a technician, a flaky line and a unit whose script changes its SIM, against
// the in-process simulated unit, with the program's promises checked after every step (sessionrun.h).
// A failing seed prints the shortest sequence of steps found that still breaks the promise.
#include "sessionrun.h"

#include <QTest>

using namespace oxa::test;

class TestSafetyProperty : public QObject {
    Q_OBJECT
private slots:
    void sessionsKeepThePromises_data();
    void sessionsKeepThePromises();
};

void TestSafetyProperty::sessionsKeepThePromises_data() {
    QTest::addColumn<quint32>("seed");
    // OXA_SESSION_SEEDS widens the search (e.g. 1000) without changing the test.
    const int seeds = qEnvironmentVariableIsSet("OXA_SESSION_SEEDS")
                          ? qEnvironmentVariableIntValue("OXA_SESSION_SEEDS")
                          : 60;
    for (int seed = 1; seed <= seeds; ++seed)
        QTest::addRow("seed %d", seed) << quint32(seed);
}

void TestSafetyProperty::sessionsKeepThePromises() {
    QFETCH(quint32, seed);
    const QList<SessionOp> ops = randomSession(seed, 40);
    const QString failure = runSession(ops);
    if (failure.isEmpty())
        return;
    const QList<SessionOp> shortest = shrinkSession(ops);
    QFAIL(qPrintable(QStringLiteral("%1\nshortest sequence (%2 steps): %3\nit fails with: %4")
                         .arg(failure)
                         .arg(shortest.size())
                         .arg(describeSession(shortest), runSession(shortest))));
}

QTEST_MAIN(TestSafetyProperty)
#include "tst_safety_property.moc"
