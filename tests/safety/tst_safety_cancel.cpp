// Every long operation can be cancelled with Escape or the Cancel button beside the progress strip: it
// stops once the command in flight is answered and says what the unit holds.
#include "safetywindow.h"

#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

using namespace oxa;
using namespace oxa::test;

class TestSafetyCancel : public QObject {
    Q_OBJECT
private slots:
    void cancelIsThereOnlyWhileSomethingRuns();
    void writeStopsAfterTheCommandInFlight();
    void readEndsAndLeavesTheWindow();
    void uploadStopsAfterTheStepInFlight();
    void escapeCancelsAWaitForTheUnit();
};

void TestSafetyCancel::cancelIsThereOnlyWhileSomethingRuns() {
    SafetyWindow w;
    auto *cancel = w.form.ctl<QPushButton>("CancelOperation");
    auto *progress = w.form.ctl<QProgressBar>("Prubeh");
    const int fullWidth = progress->width();
    QVERIFY(cancel->isHidden());
    w.click("SaveOXA");
    QVERIFY(!cancel->isHidden());
    QVERIFY(progress->geometry().right() < cancel->geometry().left());
    w.click("CancelOperation");
    w.line("OK");
    QVERIFY(cancel->isHidden());
    QCOMPARE(progress->width(), fullWidth);
}

// 200 more indexes to go: after Cancel, the answer to the command in flight ends the write; the message
// names the last index written and where the backup is.
void TestSafetyCancel::writeStopsAfterTheCommandInFlight() {
    SafetyWindow w;
    w.click("SaveOXA");
    w.line("OK"); // "AT"
    w.line("OK"); // ADMIN1 written to index 1: the next command (ADMIN2, empty) is in flight
    QCOMPARE(w.fakes.port.sent.size(), 3);
    w.click("CancelOperation");
    QCOMPARE(w.fakes.port.sent.size(), 3);
    QVERIFY(w.form.session().writing());
    w.line("OK");
    QCOMPARE(w.fakes.port.sent.size(), 3);
    QVERIFY(!w.form.session().writing());
    QVERIFY(w.form.ctl<QWidget>("Buttons")->isEnabled());
    QCOMPARE(w.fakes.errors.messages.size(), 1);
    const QString message = w.fakes.errors.messages.first();
    QVERIFY2(message.contains("cancelled") && message.contains("backups"), qPrintable(message));
    // The indexes are no longer those last read; the same write may start again.
    QVERIFY(!w.form.configuration().listingStale().isEmpty());
    w.fakes.port.sent.clear();
    w.click("SaveOXA");
    QCOMPARE(w.fakes.port.sent, QList<QByteArray>{"AT\r\n"});
}

void TestSafetyCancel::readEndsAndLeavesTheWindow() {
    SafetyWindow w;
    const auto rows = w.form.phoneBookRows();
    playRead(w.form, w.fakes.port, {entryLine(1, "+420999", "ADMIN1")}, 40, false);
    w.click("CancelOperation");
    QVERIFY(!w.form.session().reading());
    QCOMPARE(w.fakes.errors.messages.size(), 1);
    QVERIFY(w.fakes.errors.messages.first().contains("cancelled after 1 entries"));
    // The rest of the listing changes nothing.
    w.line(entryLine(2, "777", "Eva"));
    w.line("OK");
    QCOMPARE(w.form.phoneBookRows(), rows);
    w.fakes.port.sent.clear();
    w.click("SaveOXA");
    QVERIFY(w.fakes.port.sent.isEmpty());
}

void TestSafetyCancel::uploadStopsAfterTheStepInFlight() {
    SafetyWindow w;
    const bool runEnabled = w.form.ctl<QWidget>("RunOXA")->isEnabled();
    w.form.ctl<QPlainTextEdit>("List")->setPlainText("SET:AT+CSQ\nSET:AT#CGSN\nSET:AT");
    w.click("Upgrade");
    QCOMPARE(w.fakes.port.sent, QList<QByteArray>{"AT+CSQ\r\n"});
    w.click("CancelOperation");
    w.line("OK");
    QCOMPARE(w.fakes.port.sent, QList<QByteArray>{"AT+CSQ\r\n"});
    QVERIFY(!w.form.session().uploadStepWaiting());
    QCOMPARE(w.fakes.errors.messages.size(), 1);
    QVERIFY2(w.fakes.errors.messages.first().contains("line 1"), qPrintable(w.fakes.errors.messages.first()));
    QCOMPARE(w.form.ctl<QWidget>("RunOXA")->isEnabled(), runEnabled);
}

void TestSafetyCancel::escapeCancelsAWaitForTheUnit() {
    SafetyWindow w;
    w.form.show();
    QVERIFY(QTest::qWaitForWindowActive(&w.form));
    w.click("RunOXA");
    QVERIFY(w.form.findChild<QTimer *>("Cekani")->isActive());
    QTest::keyClick(&w.form, Qt::Key_Escape);
    QVERIFY(!w.form.findChild<QTimer *>("Cekani")->isActive());
    QVERIFY(w.form.ctl<QWidget>("Prubeh")->isHidden());
    QVERIFY(w.form.ctl<QWidget>("CancelOperation")->isHidden());
    for (const char *button : {"StopOXA", "RunOXA", "LoadOXA"})
        QVERIFY2(w.form.ctl<QWidget>(button)->isEnabled(), button);
}

QTEST_MAIN(TestSafetyCancel)
#include "tst_safety_cancel.moc"
