// The settings boxes' filters and the selection rules, through the real controls of a started window.
#include "pageswindow.h"

#include <QRandomGenerator>
#include <QTest>

using namespace oxa;
using namespace oxa::test;

class TestSettingsPages : public QObject {
    Q_OBJECT
private slots:
    void pastedTextIsFiltered_data();
    void pastedTextIsFiltered();
    void typedTextIsFiltered_data();
    void typedTextIsFiltered();
    void caretEndsUpAtTheEnd();
    void buttonListsMirrorBothWays();
    void emptiedRelayBoxStaysEmptyQuietly();
    void selectionRules_data();
    void selectionRules();
    void rulesMatchTheModelForAnySequence();
};

namespace {

// Replaces the box's content the way a paste over a selection does: one edit, one change event.
void paste(QLineEdit *box, const QString &text) {
    box->selectAll();
    box->insert(text);
}

} // namespace

void TestSettingsPages::pastedTextIsFiltered_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter cuts the rest") << "ADMIN1"
                                          << "12a34"
                                          << "12";
    QTest::newRow("blank inside cuts") << "ADMIN7"
                                       << " +12 345"
                                       << "+12";
    QTest::newRow("25 digits") << "BBUTTON2"
                               << "1234567890123456789012345"
                               << "12345678901234567890";
    QTest::newRow("star and hash") << "ABUTTON5"
                                   << "*#+09"
                                   << "*#+09";
    QTest::newRow("single letter stays") << "BBUTTON1"
                                         << "x"
                                         << "x";
    QTest::newRow("blanks only") << "ADMIN2"
                                 << "   "
                                 << "";
    QTest::newRow("non-Latin letter") << "AABUTTON1" << QString::fromUtf8("12\u010d3") << "12";
    QTest::newRow("time 0") << "RelTime1"
                            << "0"
                            << "01";
    QTest::newRow("time 00") << "RelTime2"
                             << "00"
                             << "01";
    QTest::newRow("time 123") << "RelTime1"
                              << "123"
                              << "23";
    QTest::newRow("time 4") << "RelTime2"
                            << "4"
                            << "04";
    QTest::newRow("time letters") << "RelTime1"
                                  << "ab"
                                  << "01";
    QTest::newRow("code x") << "RelCode1"
                            << "x"
                            << "0";
    QTest::newRow("code 58") << "RelCode2"
                             << "58"
                             << "8";
    QTest::newRow("code 7x9") << "RelCode1"
                              << " 7x9"
                              << "7";
    QTest::newRow("alarm text unfiltered") << "ALARMON"
                                           << " Door a=1 "
                                           << " Door a=1 ";
}

void TestSettingsPages::pastedTextIsFiltered() {
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    PagesWindow w;
    QLineEdit *edit = w.edit(box);
    paste(edit, text);
    QCOMPARE(edit->text(), shown);
    // The program's own setter goes through the same filter.
    edit->setText(QStringLiteral("9"));
    edit->setText(text);
    QCOMPARE(edit->text(), shown);
    QVERIFY(w.fakes.errors.messages.isEmpty());
}

void TestSettingsPages::typedTextIsFiltered_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");
    // Each keystroke is filtered on its own: a rejected key is dropped, the keys after it are kept.
    QTest::newRow("letter between digits") << "ADMIN1"
                                           << ""
                                           << "12a34"
                                           << "1234";
    QTest::newRow("lone letter, then digit") << "BBUTTON1"
                                             << ""
                                             << "x5"
                                             << "";
    QTest::newRow("lone letter stays") << "BBUTTON1"
                                       << ""
                                       << "x"
                                       << "x";
    QTest::newRow("21st digit dropped") << "ADMIN3"
                                        << "12345678901234567890"
                                        << "1"
                                        << "12345678901234567890";
    QTest::newRow("code replaced") << "RelCode1"
                                   << "5"
                                   << "6"
                                   << "6";
    QTest::newRow("time shifts") << "RelTime1"
                                 << "03"
                                 << "5"
                                 << "35";
    QTest::newRow("time two keys") << "RelTime2"
                                   << "03"
                                   << "47"
                                   << "47";
    QTest::newRow("time letter") << "RelTime2"
                                 << "03"
                                 << "q"
                                 << "03";
}

void TestSettingsPages::typedTextIsFiltered() {
    QFETCH(QString, box);
    QFETCH(QString, start);
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    PagesWindow w;
    QLineEdit *edit = w.edit(box);
    edit->setText(start);
    edit->setCursorPosition(int(edit->text().size()));
    QTest::keyClicks(edit, keys);
    QCOMPARE(edit->text(), shown);
    QCOMPARE(edit->cursorPosition(), int(shown.size()));
}

void TestSettingsPages::caretEndsUpAtTheEnd() {
    PagesWindow w;
    QLineEdit *admin = w.edit("ADMIN4");
    admin->setText("1234");
    admin->setCursorPosition(1);
    QTest::keyClicks(admin, "9");
    QCOMPARE(admin->text(), QStringLiteral("19234"));
    QCOMPARE(admin->cursorPosition(), 5);

    // A keystroke that the filter undoes also leaves the caret at the end.
    admin->setCursorPosition(2);
    QTest::keyClicks(admin, "z");
    QCOMPARE(admin->text(), QStringLiteral("19"));
    QCOMPARE(admin->cursorPosition(), 2);
}

void TestSettingsPages::buttonListsMirrorBothWays() {
    PagesWindow w;
    for (int n = 1; n <= 7; ++n) {
        QLineEdit *single = w.edit("AABUTTON" + QString::number(n));
        QLineEdit *twin = w.edit("ABUTTON" + QString::number(n));
        QTest::keyClicks(single, "7");
        QCOMPARE(twin->text(), QStringLiteral("7"));
        QTest::keyClicks(twin, "+8a");
        QCOMPARE(twin->text(), QStringLiteral("7+8"));
        QCOMPARE(single->text(), QStringLiteral("7+8"));
        paste(single, " 55 66");
        QCOMPARE(twin->text(), QStringLiteral("55"));
        QCOMPARE(single->text(), QStringLiteral("55"));
        single->clear();
        QCOMPARE(twin->text(), QString());
    }
    // The B list and the administrators have no twin.
    QTest::keyClicks(w.edit("BBUTTON3"), "42");
    QTest::keyClicks(w.edit("ADMIN3"), "43");
    for (int n = 1; n <= 7; ++n) {
        QCOMPARE(w.edit("ABUTTON" + QString::number(n))->text(), QString());
        QCOMPARE(w.edit("AABUTTON" + QString::number(n))->text(), QString());
    }
}

void TestSettingsPages::emptiedRelayBoxStaysEmptyQuietly() {
    PagesWindow w;
    for (const char *name : {"RelCode1", "RelCode2", "RelTime1", "RelTime2"}) {
        QLineEdit *box = w.edit(QLatin1String(name));
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QString());
        paste(box, "  ");
        QCOMPARE(box->text(), QString());
    }
    QCOMPARE(w.fakes.errors.messages, QStringList());
}

void TestSettingsPages::selectionRules_data() {
    QTest::addColumn<QStringList>("setUp");   // buttons clicked first, in order
    QTest::addColumn<QString>("action");      // "+Name" checks / selects, "-Name" unchecks, by the user
    QTest::addColumn<QStringList>("checked"); // every settings button checked afterwards

    QTest::newRow("rule 3 relay 2") << QStringList{"AllCall", "RelCam2"} << "+RelRingAll2"
                                    << QStringList{"NoCall", "RelSW2", "RelRingAll2"};
    QTest::newRow("rule 1 keeps all-ringing") << QStringList{"RelRing1", "RelRingAll2"} << "+SIMCall"
                                              << QStringList{"SIMCall", "RelSW1", "RelSW2", "RelRingAll2"};
    QTest::newRow("rule 1 by All") << QStringList{"RelRing1", "RelRing2"} << "+AllCall"
                                   << QStringList{"AllCall", "RelSW1", "RelSW2"};
    // All-ringing has selected the switch mode already; choosing it again changes nothing.
    QTest::newRow("switch keeps all-ringing") << QStringList{"RelCam1", "RelRingAll1"} << "+RelSW1"
                                              << QStringList{"NoCall", "RelSW1", "RelRingAll1"};
    QTest::newRow("rule 2 replaces all-ringing")
        << QStringList{"RelRingAll1"} << "+RelRing1" << QStringList{"NoCall", "RelSW1", "RelRing1"};
    QTest::newRow("rule 4 camera") << QStringList{"RelRing1", "RelRing2"} << "+RelCam1"
                                   << QStringList{"NoCall", "RelCam1", "RelSW2", "RelRing2"};
    QTest::newRow("rule 4 light") << QStringList{"RelRingAll2"} << "+RelLi2"
                                  << QStringList{"NoCall", "RelLi2"};
    QTest::newRow("rule 4 button") << QStringList{"RelRing2"} << "+RelBut2"
                                   << QStringList{"NoCall", "RelBut2"};
    QTest::newRow("rule 4 SMS") << QStringList{"RelRingAll1"} << "+RelSMS1"
                                << QStringList{"NoCall", "RelSMS1"};
    QTest::newRow("unchecking does nothing")
        << QStringList{"AllCall", "RelCam1", "RelRing1"} << "-RelRing1" << QStringList{"NoCall", "RelSW1"};
    QTest::newRow("pick-up after ringing off")
        << QStringList{"RelRingAll1", "RelRingAll1"} << "+AllCall" << QStringList{"AllCall", "RelSW1"};
    QTest::newRow("no rule for port and tones")
        << QStringList{"RelRing1", "TonRing"} << "+PortESMS"
        << QStringList{"NoCall", "TonRing", "PortESMS", "RelSW1", "RelRing1"};
}

void TestSettingsPages::selectionRules() {
    QFETCH(QStringList, setUp);
    QFETCH(QString, action);
    QFETCH(QStringList, checked);
    PagesWindow w;
    for (const QString &name : setUp)
        w.button(name)->click();
    QAbstractButton *target = w.button(action.mid(1));
    if (action.startsWith('-'))
        QVERIFY(target->isChecked());
    target->click();

    QStringList expected;
    for (const QString &name : settingsControlNames())
        if (checked.contains(name))
            expected << name;
    QCOMPARE(w.checkedButtons(), expected);
    QVERIFY(w.fakes.errors.messages.isEmpty());
}

// The window's handlers and the settings model agree on every sequence of program changes, including
// the nested changes that one rule causes in another control.
void TestSettingsPages::rulesMatchTheModelForAnySequence() {
    const QStringList buttons = {"NoCall",  "SIMCall", "AllCall",  "RelCam1",     "RelLi1",     "RelBut1",
                                 "RelSMS1", "RelSW1",  "RelRing1", "RelRingAll1", "RelCam2",    "RelLi2",
                                 "RelBut2", "RelSMS2", "RelSW2",   "RelRing2",    "RelRingAll2"};
    QRandomGenerator random(4711);
    for (int trial = 0; trial < 40; ++trial) {
        PagesWindow w;
        const ControlReader reader =
            widgetControlReader([&w](const QString &name) { return w.form->control(name); });
        SettingsControls model = readSettingsControls(reader);
        for (int step = 0; step < 25; ++step) {
            const ControlOp op =
                ControlOp::check(buttons[random.bounded(int(buttons.size()))], random.bounded(3) > 0);
            applyControlOp(model, op);
            QVERIFY(applyControlOpToWidget(w.form->control(op.control), op));
            QVERIFY2(readSettingsControls(reader) == model,
                     qPrintable(QStringLiteral("trial %1 step %2: %3=%4")
                                    .arg(trial)
                                    .arg(step)
                                    .arg(op.control)
                                    .arg(op.checked)));
        }
    }
}

QTEST_MAIN(TestSettingsPages)
#include "tst_pages_settings.moc"
