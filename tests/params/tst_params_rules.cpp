#include "settingscontrols.h"

#include <QHash>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>

using namespace oxa;

namespace {

ControlOp select(const char *name) {
    return ControlOp::check(QLatin1String(name), true);
}
ControlOp uncheck(const char *name) {
    return ControlOp::check(QLatin1String(name), false);
}

SettingsControls after(const QList<ControlOp> &ops, SettingsControls start = {}) {
    for (const ControlOp &op : ops) {
        if (!applyControlOp(start, op))
            qFatal("control %s unknown to the model", qPrintable(op.control));
    }
    return start;
}

} // namespace

class TestRules : public QObject {
    Q_OBJECT
private slots:
    void ruleOps_data();
    void ruleOps();
    void ringOverridesPickUpAndMode();
    void simCallUnchecksSimRingingOnly();
    void switchModeKeepsRinging();
    void otherModesClearRinging_data();
    void otherModesClearRinging();
    void ringAndRingAllExcludeEachOther();
    void uncheckingDoesNothing();
    void invariantHoldsUnderAnySequence();
    void modelSetters();
    void readsWindowControls();
};

void TestRules::ruleOps_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("noCall");
    QTest::addColumn<QList<ControlOp>>("ops");
    using Ops = QList<ControlOp>;
    QTest::newRow("rule 1 SIMCall") << "SIMCall" << true << false
                                    << Ops{uncheck("RelRing1"), uncheck("RelRing2")};
    QTest::newRow("rule 1 AllCall") << "AllCall" << true << false
                                    << Ops{uncheck("RelRing1"), uncheck("RelRing2")};
    QTest::newRow("rule 1 with NoCall selected") << "AllCall" << true << true << Ops{};
    QTest::newRow("NoCall has no rule") << "NoCall" << true << false << Ops{};
    QTest::newRow("rule 2") << "RelRing2" << true << false
                            << Ops{select("NoCall"), select("RelSW2"), uncheck("RelRingAll2")};
    QTest::newRow("rule 3") << "RelRingAll1" << true << false
                            << Ops{select("NoCall"), select("RelSW1"), uncheck("RelRing1")};
    QTest::newRow("rule 2 unchecked") << "RelRing1" << false << false << Ops{};
    QTest::newRow("rule 4 camera") << "RelCam1" << true << false
                                   << Ops{uncheck("RelRing1"), uncheck("RelRingAll1")};
    QTest::newRow("rule 4 SMS relay 2")
        << "RelSMS2" << true << false << Ops{uncheck("RelRing2"), uncheck("RelRingAll2")};
    QTest::newRow("switch has no rule") << "RelSW1" << true << false << Ops{};
    QTest::newRow("unrelated") << "TonBeep" << true << false << Ops{};
}

void TestRules::ruleOps() {
    QFETCH(QString, control);
    QFETCH(bool, checked);
    QFETCH(bool, noCall);
    QFETCH(QList<ControlOp>, ops);
    QCOMPARE(selectionRuleOps(control, checked, noCall), ops);
}

void TestRules::ringOverridesPickUpAndMode() {
    const SettingsControls s = after({select("AllCall"), select("RelCam2"), select("RelRingAll2")});
    QCOMPARE(s.pickUp, PickUp::NoCall);
    QCOMPARE(s.relay2.mode, RelayMode::Switch);
    QVERIFY(s.relay2.ringAll);
    QVERIFY(!s.relay2.ring);
}

void TestRules::simCallUnchecksSimRingingOnly() {
    const SettingsControls ringing = after({select("RelRing1"), select("RelRingAll2")});
    QVERIFY(ringing.relay1.ring);
    QVERIFY(ringing.relay2.ringAll);
    const SettingsControls s = after({select("SIMCall")}, ringing);
    QCOMPARE(s.pickUp, PickUp::SIMCall);
    QVERIFY(!s.relay1.ring);
    QVERIFY(s.relay2.ringAll);
    QCOMPARE(s.relay2.mode, RelayMode::Switch);
}

void TestRules::switchModeKeepsRinging() {
    const SettingsControls s = after({select("RelRingAll1"), select("RelSW1")});
    QVERIFY(s.relay1.ringAll);
    QCOMPARE(s.relay1.mode, RelayMode::Switch);
}

void TestRules::otherModesClearRinging_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("ringing");
    for (const char *mode : {"RelCam", "RelLi", "RelBut", "RelSMS"}) {
        for (const char *ring : {"RelRing", "RelRingAll"}) {
            for (const char *n : {"1", "2"})
                QTest::addRow("%s%s after %s%s", mode, n, ring, n)
                    << QLatin1String(mode) + QLatin1String(n) << QLatin1String(ring) + QLatin1String(n);
        }
    }
}

void TestRules::otherModesClearRinging() {
    QFETCH(QString, mode);
    QFETCH(QString, ringing);
    const bool first = mode.endsWith(u'1');
    // The other relay rings too and must not be touched.
    const QString otherRing = first ? QStringLiteral("RelRing2") : QStringLiteral("RelRing1");
    const SettingsControls s = after(
        {ControlOp::check(otherRing, true), ControlOp::check(ringing, true), ControlOp::check(mode, true)});
    const RelayControls &own = first ? s.relay1 : s.relay2;
    const RelayControls &other = first ? s.relay2 : s.relay1;
    QVERIFY(!own.ring);
    QVERIFY(!own.ringAll);
    QVERIFY(own.mode != RelayMode::Switch && own.mode != RelayMode::None);
    QVERIFY(other.ring);
    QCOMPARE(other.mode, RelayMode::Switch);
}

void TestRules::ringAndRingAllExcludeEachOther() {
    SettingsControls s = after({select("RelRing1"), select("RelRingAll1")});
    QVERIFY(!s.relay1.ring);
    QVERIFY(s.relay1.ringAll);
    s = after({select("RelRing1")}, s);
    QVERIFY(s.relay1.ring);
    QVERIFY(!s.relay1.ringAll);
}

void TestRules::uncheckingDoesNothing() {
    const SettingsControls before = after({select("AllCall"), select("RelCam1"), select("RelRingAll2")});
    const SettingsControls s = after({select("AllCall"), uncheck("RelRingAll2")}, before);
    QCOMPARE(s.pickUp, PickUp::AllCall);
    QCOMPARE(s.relay2.mode, RelayMode::Switch);
    QVERIFY(!s.relay2.ringAll);
    QCOMPARE(s.relay1.mode, RelayMode::Camera);
}

// Whatever the user clicks, the relay encoding can rely on: at most one ringing box per relay, and a
// ringing relay is in switch mode.
void TestRules::invariantHoldsUnderAnySequence() {
    const QStringList buttons = {"NoCall",  "SIMCall", "AllCall",  "RelSMS1",     "RelSW1",     "RelCam1",
                                 "RelLi1",  "RelBut1", "RelRing1", "RelRingAll1", "RelSMS2",    "RelSW2",
                                 "RelCam2", "RelLi2",  "RelBut2",  "RelRing2",    "RelRingAll2"};
    QRandomGenerator random(20240611);
    for (int run = 0; run < 500; ++run) {
        SettingsControls s;
        for (int step = 0; step < 12; ++step) {
            const QString name = buttons[random.bounded(int(buttons.size()))];
            // A user selects radio buttons and toggles check boxes; only decoding clears a radio group.
            const bool checkBox = name.startsWith(QStringLiteral("RelRing"));
            QVERIFY(applyControlOp(s, ControlOp::check(name, !checkBox || random.bounded(2) == 0)));
            for (const RelayControls *r : {&s.relay1, &s.relay2}) {
                QVERIFY2(!(r->ring && r->ringAll), qPrintable(name));
                if (r->ring || r->ringAll)
                    QCOMPARE(r->mode, RelayMode::Switch);
            }
        }
    }
}

void TestRules::modelSetters() {
    SettingsControls s;
    // Track bars clamp, relay boxes filter, an unchanged text raises no change.
    s = after({ControlOp::position("VolMic", 0), ControlOp::position("VolSpk", 9),
               ControlOp::setText("RelCode1", "58"), ControlOp::setText("RelTime2", "4"),
               ControlOp::index("WaitBUF", -1), ControlOp::index("waiting", 9)},
              s);
    QCOMPARE(s.volMic, 1);
    QCOMPARE(s.volSpk, 7);
    QCOMPARE(s.relay1.code, QStringLiteral("8"));
    QCOMPARE(s.relay2.time, QStringLiteral("04"));
    QCOMPARE(s.waitBuf, QString());
    QCOMPARE(s.waiting, 9);
    s = after({ControlOp::index("WaitBUF", 8), select("PortESMS"), uncheck("PortESMS")}, s);
    QCOMPARE(s.waitBuf, QStringLiteral("9"));
    QCOMPARE(s.port, Port::None);
    QVERIFY(!applyControlOp(s, select("NoSuchControl")));
    QVERIFY(selectionRuleControls().size() == 14);
    for (const QString &name : selectionRuleControls())
        QVERIFY2(!selectionRuleOps(name, true, false).isEmpty(), qPrintable(name));
}

// A window seen through its accessors: every name the reader asks for must be a listed control.
void TestRules::readsWindowControls() {
    const QHash<QString, bool> checked = {{"AllCall", true},   {"TonRing", true}, {"PortEtons", true},
                                          {"RelLi1", true},    {"RelSW2", true},  {"RelRingAll2", true},
                                          {"DirectCall", true}};
    const QHash<QString, QString> texts = {
        {"RelCode1", "7"}, {"RelTime1", "15"}, {"RelCode2", ""}, {"RelTime2", "03"}, {"WaitBUF", "12"}};
    const QHash<QString, int> values = {{"VolMic", 2}, {"VolSpk", 6}, {"waiting", 0}};
    QSet<QString> asked;
    const ControlReader reader{[&](const QString &n) {
                                   asked << n;
                                   return checked.value(n);
                               },
                               [&](const QString &n) {
                                   asked << n;
                                   return texts.value(n);
                               },
                               [&](const QString &n) {
                                   asked << n;
                                   return values.value(n);
                               }};
    SettingsControls expected;
    expected.volMic = 2;
    expected.volSpk = 6;
    expected.pickUp = PickUp::AllCall;
    expected.tonRing = true;
    expected.port = Port::EnableTones;
    expected.waiting = 0;
    expected.relay1 = {"7", RelayMode::Light, "15", false, false};
    expected.relay2 = {"", RelayMode::Switch, "03", false, true};
    expected.waitBuf = QStringLiteral("12");
    expected.directCall = true;
    QVERIFY(readSettingsControls(reader) == expected);
    const QStringList names = settingsControlNames();
    QCOMPARE(asked, QSet<QString>(names.begin(), names.end()));
    QCOMPARE(names.size(), 34);
}

QTEST_APPLESS_MAIN(TestRules)
#include "tst_params_rules.moc"
