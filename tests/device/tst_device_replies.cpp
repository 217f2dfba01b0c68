// How the window reacts to each reply of the unit, one line at a time, on a fake port.
#include "fakelisting.h"
#include "fakeseams.h"
#include "monitor.h"
#include "tform1.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace oxa;

namespace {

struct Window {
    Window() : form(fakes.seams(), folder.filePath("OXAset")) {
        form.start();
        fakes.port.sent.clear();
        fakes.pause.pauses.clear();
    }
    void line(const QByteArray &text) { fakes.port.deliver(text + "\r\n"); }
    // A read whose chain has come as far as the size query.
    void readUpToSize() {
        test::startRead(form, fakes.port);
        line("#SPN: Operator");
        fakes.port.sent.clear();
        fakes.pause.pauses.clear();
    }
    // A whole read listing `lines`.
    void list(const QList<QByteArray> &lines) { test::playRead(form, fakes.port, lines); }
    bool shown(const char *name) { return !form.ctl<QWidget>(name)->isHidden(); }
    QStringList logTail(int n) { return form.monitor()->lines().mid(form.monitor()->lineCount() - n); }
    QTemporaryDir folder;
    test::FakeSeams fakes;
    TForm1 form;
};

} // namespace

class TestDeviceReplies : public QObject {
    Q_OBJECT
private slots:
    void stopReportNeedsDtr();
    void stopHandshakeClassic();
    void stopHandshakeLte();
    void operatorAsksForSizeOnlyWithDtr();
    void simSizeAboveTenReadsEntries_data();
    void simSizeAboveTenReadsEntries();
    void signalColours_data();
    void signalColours();
    void batteryVoltage();
    void malformedRepliesAreOnlyLogged_data();
    void malformedRepliesAreOnlyLogged();
    void keyEntriesFillTheirBoxes();
    void versionEntry();
    void telitStartsARead();
    void copsAndToneShowRunning();
    void okWithRefreshAndWriteDoesBoth();
    void runAndStopButtons();
    void writeAfterAListingWithoutRows();
    void aKeyListedTwiceIsTakenFromItsFirstEntry();
    void aLineCutShortEndsTheReadItCameIn();
};

void TestDeviceReplies::stopReportNeedsDtr() {
    Window w;
    w.line("STOP");
    QVERIFY(w.fakes.port.sent.isEmpty());
    QVERIFY(w.shown("DeviceRun"));
    QVERIFY(w.form.monitor()->lines().last().endsWith("]   STOP"));
}

void TestDeviceReplies::stopHandshakeClassic() {
    Window w;
    w.form.StopOXAClick();
    QVERIFY(w.fakes.port.dtr());
    QVERIFY(w.shown("DeviceNic") && !w.shown("DeviceRun") && !w.shown("DeviceStop"));
    QVERIFY(w.form.findChild<QTimer *>("Cekani")->isActive());
    w.form.CekaniTimer();
    QCOMPARE(w.form.ctl<QProgressBar>("Prubeh")->value(), 1);
    QCOMPARE(w.form.ctl<QProgressBar>("Prubeh")->maximum(), 250);

    w.line("STOP");
    QVERIFY(w.shown("DeviceStop") && !w.shown("DeviceNic"));
    QVERIFY(!w.form.findChild<QTimer *>("Cekani")->isActive());
    QVERIFY(w.form.ctl<QWidget>("Prubeh")->isHidden());
    for (const char *button : {"SaveOXA", "RunOXA", "LoadOXA"})
        QVERIFY(w.form.ctl<QPushButton>(button)->isEnabled());
    QCOMPARE(w.fakes.port.sent, QList<QByteArray>{"ATE0\r\n"});
    QCOMPARE(w.logTail(4), (QStringList{"----------------------1", ">ATE0", "ATE0=-1", "LTE=0"}));
    QCOMPARE(w.fakes.pause.pauses, QList<int>{1000});

    w.line("OK"); // no LTE: the OK to ATE0 does nothing
    QCOMPARE(w.fakes.port.sent.size(), 1);
    w.line("[AT#SLED=1]=");
    QCOMPARE(w.fakes.port.sent.last(), QByteArray("ATE0;#SPN\r\n"));
    QCOMPARE(w.fakes.pause.pauses, (QList<int>{1000, 1000}));
    w.line("#SPN: Telekom");
    QCOMPARE(w.form.panelText(0), QString("Operator:  Telekom"));
    QCOMPARE(w.fakes.port.sent.last(), QByteArray("AT+CPBR=?\r\n"));
}

void TestDeviceReplies::stopHandshakeLte() {
    Window w;
    w.form.StopOXAClick();
    w.line("#APLAYEV: 0");
    QVERIFY(w.shown("DeviceStop"));
    QCOMPARE(w.logTail(1), QStringList{"LTE=-1"});
    w.line("OK");
    QCOMPARE(w.fakes.pause.pauses, (QList<int>{1000, 200}));
    QCOMPARE(w.logTail(2).first(), QString("----------------------2"));
    QCOMPARE(w.logTail(1), QStringList{">AT#SPN"});
    QCOMPARE(w.fakes.port.sent, (QList<QByteArray>{"ATE0\r\n", "AT#SPN\r\n"}));
    w.line("OK"); // handshake done: a further OK does nothing
    QCOMPARE(w.fakes.port.sent.size(), 2);
    // Run with an LTE module only lowers DTR.
    w.form.RunOXAClick();
    QVERIFY(!w.fakes.port.dtr());
    QCOMPARE(w.fakes.port.sent.size(), 2);
}

void TestDeviceReplies::operatorAsksForSizeOnlyWithDtr() {
    Window w;
    // Outside a read the operator's name is only shown.
    w.line("#SPN: Vodafone CZ");
    QCOMPARE(w.form.panelText(0), QString("Operator:  Vodafone CZ"));
    QVERIFY(w.fakes.port.sent.isEmpty());
    QVERIFY(w.fakes.pause.pauses.isEmpty());
    // In a read with DTR lowered the chain ends at the operator.
    w.line("Telit");
    w.fakes.port.sent.clear();
    w.fakes.pause.pauses.clear();
    w.line("#SPN: T-Mobile");
    QCOMPARE(w.form.panelText(0), QString("Operator:  T-Mobile"));
    QVERIFY(w.fakes.port.sent.isEmpty());
    QCOMPARE(w.fakes.pause.pauses, QList<int>{200});
    QVERIFY(!w.form.session().reading());
    // With DTR raised it asks for the SIM's size.
    w.fakes.port.setDtr(true);
    w.line("Telit");
    w.fakes.port.sent.clear();
    w.line("#SPN: T-Mobile");
    QCOMPARE(w.fakes.port.sent, QList<QByteArray>{"AT+CPBR=?\r\n"});
    QCOMPARE(w.form.session().readState().phase(), UnitRead::Phase::Size);
}

void TestDeviceReplies::simSizeAboveTenReadsEntries_data() {
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("size");
    QTest::addColumn<QByteArray>("read");
    QTest::newRow("10") << QByteArray("+CPBR: (1-10),40,18") << 10 << QByteArray();
    QTest::newRow("11") << QByteArray("+CPBR: (1-11),40,18") << 11 << QByteArray("AT+CPBR=1,11\r\n");
    QTest::newRow("250") << QByteArray("+CPBR: (1-250),40,18") << 250 << QByteArray("AT+CPBR=1,250\r\n");
}

void TestDeviceReplies::simSizeAboveTenReadsEntries() {
    QFETCH(QByteArray, reply);
    QFETCH(int, size);
    QFETCH(QByteArray, read);
    Window w;
    w.readUpToSize();
    w.line(reply);
    QCOMPARE(w.form.session().simSize(), size);
    QCOMPARE(w.form.panelText(2), " SIM: " + QString::number(size));
    QCOMPARE(w.fakes.port.sentBytes(), read);
}

void TestDeviceReplies::signalColours_data() {
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("value");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("99 no measurement") << QByteArray("+CSQ: 99,99") << 31 << QColor(255, 0, 0);
    QTest::newRow("14") << QByteArray("+CSQ: 14,0") << 14 << QColor(255, 0, 0);
    QTest::newRow("15") << QByteArray("+CSQ: 15,0") << 15 << QColor(0, 255, 255);
    QTest::newRow("21") << QByteArray("+CSQ: 21,0") << 21 << QColor(0, 255, 255);
    QTest::newRow("22") << QByteArray("+CSQ: 22,0") << 22 << QColor(0, 255, 0);
    QTest::newRow("31") << QByteArray("+CSQ:31,0") << 31 << QColor(0, 255, 0);
}

void TestDeviceReplies::signalColours() {
    QFETCH(QByteArray, reply);
    QFETCH(int, value);
    QFETCH(QColor, colour);
    Window w;
    w.line(reply);
    auto *meter = w.form.ctl<QProgressBar>("Smeter");
    QCOMPARE(meter->value(), value);
    QCOMPARE(meter->property("barColor").value<QColor>(), colour);
    QVERIFY(meter->styleSheet().contains(colour.name()));
}

void TestDeviceReplies::batteryVoltage() {
    Window w;
    w.form.StopOXAClick();
    w.line("#CBC: 0,405");
    QCOMPARE(w.form.panelText(1), QString(" board voltage: 4050 mV"));
    QCOMPARE(w.form.ctl<QProgressBar>("BVoltage")->value(), 405);
    QCOMPARE(w.form.ctl<QLabel>("Voltage")->text(), QString("4050 mV"));
    QCOMPARE(w.logTail(1), QStringList{"405"});
    QVERIFY(!w.form.findChild<QTimer *>("Cekani")->isActive());
    w.line("#CBC: 0,512"); // beyond the bar: clamped, the label tells the truth
    QCOMPARE(w.form.ctl<QProgressBar>("BVoltage")->value(), 420);
    QCOMPARE(w.form.ctl<QLabel>("Voltage")->text(), QString("5120 mV"));
}

void TestDeviceReplies::malformedRepliesAreOnlyLogged_data() {
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("logged"); // monitor lines
    QTest::newRow("battery field") << QByteArray("#CBC: 0,4x5") << 1;
    QTest::newRow("battery without comma") << QByteArray("#CBC: 405") << 1;
    QTest::newRow("signal") << QByteArray("+CSQ: high,0") << 1;
    QTest::newRow("size") << QByteArray("+CPBR: (1-lots),40,18") << 1;
    QTest::newRow("entry without quotes") << QByteArray("+CPBR: 3,12345,129,ADMIN1") << 1;
    QTest::newRow("entry without commas") << QByteArray("+CPBR: 3 \"1\" 129 \"ADMIN1\"") << 1;
    QTest::newRow("bytes") << QByteArray("+CPBR: \xff\x80,\"\x01\",,\"") << 1;
    // Cut at 4 KB with a note before it: no reply is that long.
    QTest::newRow("long line") << QByteArray(65536, 'x') << 2;
    QTest::newRow("error") << QByteArray("+CME ERROR: 21") << 1;
}

void TestDeviceReplies::malformedRepliesAreOnlyLogged() {
    QFETCH(QByteArray, reply);
    QFETCH(int, logged);
    Window w;
    const QString before =
        w.form.panelText(1) + w.form.panelText(2) + w.form.ctl<QLineEdit>("ADMIN1")->text();
    const qint64 lines = w.form.monitor()->lineCount();
    w.line(reply);
    QCOMPARE(w.form.monitor()->lineCount(), lines + logged);
    QCOMPARE(w.form.panelText(1) + w.form.panelText(2) + w.form.ctl<QLineEdit>("ADMIN1")->text(), before);
    QVERIFY(w.fakes.port.sent.isEmpty());
    QVERIFY(w.fakes.errors.messages.isEmpty());
    QCOMPARE(w.form.ctl<QProgressBar>("Smeter")->value(), 0);
}

void TestDeviceReplies::keyEntriesFillTheirBoxes() {
    Window w;
    w.list({"+CPBR: 1,\"+420123456789\",145,\"ADMIN1\"", "+CPBR: 2,\"777\",129,\"BBUTTON7\"",
            "+CPBR: 3,\"Gate open\",129,\"ALARMON\""});
    QCOMPARE(w.form.ctl<QLineEdit>("ADMIN1")->text(), QString("+420123456789"));
    QCOMPARE(w.form.ctl<QLineEdit>("BBUTTON7")->text(), QString("777"));
    QCOMPARE(w.form.ctl<QLineEdit>("ALARMON")->text(), QString("Gate open"));
    w.form.ctl<QLineEdit>("ADMIN3")->setText("123");
    w.form.ctl<QLineEdit>("ADMIN4")->setText("456");
    // An entry with an empty number empties its box; a key the SIM no longer holds shows empty too.
    w.list({"+CPBR: 4,\"\",129,\"ADMIN3\""});
    QCOMPARE(w.form.ctl<QLineEdit>("ADMIN3")->text(), QString());
    QCOMPARE(w.form.ctl<QLineEdit>("ADMIN4")->text(), QString());
    QCOMPARE(w.form.ctl<QLineEdit>("ADMIN1")->text(), QString());
}

void TestDeviceReplies::versionEntry() {
    Window w;
    w.list({"+CPBR: 9,\"2.41\",129,\"VER\""});
    QCOMPARE(w.form.panelText(4), QString(" OXA Ver: 2.41"));
    QVERIFY(w.form.ctl<QWidget>("TonBeep")->isEnabled());
    w.list({"+CPBR: 9,\"3.0#LTE\",129,\"VER\""});
    QCOMPARE(w.form.panelText(4), QString(" OXA Ver: 3.0#LTE"));
    for (const char *tone : {"TonBeep", "TonRing", "TonVoice"})
        QVERIFY(!w.form.ctl<QWidget>(tone)->isEnabled());
}

void TestDeviceReplies::telitStartsARead() {
    Window w;
    w.line("Telit");
    QVERIFY(w.shown("DeviceStop"));
    QCOMPARE(w.fakes.port.sent, QList<QByteArray>{"AT#SPN\r\n"});
    QVERIFY(w.form.ctl<QPushButton>("LoadOXA")->isEnabled());
    QVERIFY(w.form.ctl<QPushButton>("SaveOXA")->isEnabled());
    QCOMPARE(w.form.session().readState().phase(), UnitRead::Phase::Operator);
}

void TestDeviceReplies::copsAndToneShowRunning() {
    Window w;
    w.line("Telit");
    w.line("+COPS: 0,0,\"T-Mobile\"");
    QVERIFY(w.shown("DeviceRun") && !w.shown("DeviceStop"));
    QVERIFY(!w.form.ctl<QPushButton>("LoadOXA")->isEnabled());
    w.line("Telit");
    w.line("[AT#tone=i,4]=");
    QVERIFY(w.shown("DeviceRun") && !w.shown("DeviceStop"));
}

void TestDeviceReplies::okWithRefreshAndWriteDoesBoth() {
    Window w;
    w.list({});
    w.fakes.port.sent.clear();
    w.form.SaveOXAClick();
    QCOMPARE(w.fakes.port.sent, QList<QByteArray>{"AT\r\n"});
    QVERIFY(w.form.session().writing());
    QVERIFY(!w.form.ctl<QPushButton>("StopOXA")->isEnabled());
    // A delete with no node selected asks the next "OK" for a re-read.
    w.form.session().deleteEntry(std::nullopt);
    w.line("OK");
    // The re-read starts first; the write then takes its next step (ADMIN1, empty: "AT").
    QCOMPARE(w.fakes.port.sent, (QList<QByteArray>{"AT\r\n", "AT#SPN\r\n", "AT\r\n"}));
    QVERIFY(!w.form.session().refreshAwaited());
    QVERIFY(w.form.session().writing());
    QCOMPARE(w.form.session().writeStep(), 1);
}

void TestDeviceReplies::runAndStopButtons() {
    Window w;
    w.form.StopOXAClick();
    w.line("STOP");
    w.fakes.port.sent.clear();
    w.form.RunOXAClick();
    QVERIFY(!w.fakes.port.dtr());
    QCOMPARE(w.fakes.port.sent, QList<QByteArray>{"AT#REBOOT\r\n"});
    QVERIFY(w.shown("DeviceNic"));
    QVERIFY(!w.form.ctl<QPushButton>("LoadOXA")->isEnabled());
    // Load while waiting probes the module, which answers "Telit" when it takes commands.
    w.fakes.port.sent.clear();
    w.form.LoadOXAClick();
    QCOMPARE(w.fakes.port.sent, QList<QByteArray>{"AT+CGMI\r\n"});
    QVERIFY(w.shown("DeviceRun"));
    // Load while running does nothing.
    w.form.LoadOXAClick();
    QCOMPARE(w.fakes.port.sent.size(), 1);
    w.form.signalClick();
    w.form.IMEIClick();
    w.form.InicializaceClick();
    QCOMPARE(w.fakes.port.sent.mid(1),
             (QList<QByteArray>{"AT+CSQ\r\n", "AT#CGSN\r\n", "AT#ESCRIPT=oxa.pyo\r\n"}));
}

// A SIM that lists keys only leaves the grid with its one empty row: the whole write spends one "AT"
// on that row, no index, between the last key and the emptied indexes.
void TestDeviceReplies::writeAfterAListingWithoutRows() {
    Window w;
    w.form.appendPhoneBookRow("Gate", "555");
    w.readUpToSize();
    w.line("+CPBR: (1-12),40,18");
    QCOMPARE(w.fakes.port.sent, QList<QByteArray>{"AT+CPBR=1,12\r\n"});
    w.line("OK");
    w.line("+CPBR: 1,\"+420111\",145,\"ADMIN1\"");
    w.line("+CPBR: 2,\"3#1\",129,\"PARKEY\"");
    w.line("OK");
    QCOMPARE(w.form.phoneBookRows(), (QList<std::pair<QByteArray, QByteArray>>{{"", ""}}));

    w.fakes.port.sent.clear();
    w.form.SaveOXAClick();
    for (int reply = 0; reply < 100 && w.form.session().writing(); ++reply)
        w.line("OK");
    QVERIFY(!w.form.session().writing());
    const QList<QByteArray> &sent = w.fakes.port.sent;
    const qsizetype parkey = sent.indexOf("AT+CPBW=5,3#1,,PARKEY\r\n");
    QVERIFY2(parkey > 0, sent.join().constData());
    QCOMPARE(sent.mid(parkey + 1),
             (QList<QByteArray>{"AT\r\n", "AT+CPBW=6\r\n", "AT+CPBW=7\r\n", "AT+CPBW=8\r\n", "AT+CPBW=9\r\n",
                                "AT+CPBW=10\r\n", "AT+CPBW=11\r\n", "AT+CPBW=12\r\n", "AT+CPBR=1,12\r\n"}));
    // Opening "AT", 27 keys, the empty row, seven emptied indexes, the read-back.
    QCOMPARE(sent.size(), 1 + 27 + 1 + 7 + 1);
}

// As a configuration file's first line of a key counts, so does the unit's first entry; a later one is
// named and shown as a phone-book row, so that a whole write stores both again, the taken one first.
void TestDeviceReplies::aKeyListedTwiceIsTakenFromItsFirstEntry() {
    Window w;
    w.readUpToSize();
    w.line("+CPBR: (1-12),40,18");
    w.line("OK");
    for (const QByteArray &entry :
         {test::entryLine(1, "+420111", "ADMIN1"), test::entryLine(2, "3#1", "PARKEY"),
          test::entryLine(3, "555", "Gate"), test::entryLine(4, "+420999", "ADMIN1"),
          test::entryLine(5, "9#9", "PARKEY")})
        w.line(entry);
    w.line("OK");
    QCOMPARE(w.form.ctl<QLineEdit>("ADMIN1")->text(), QString("+420111"));
    QCOMPARE(w.form.configuration().strings().parkey, QByteArray("3#1"));
    QCOMPARE(w.form.phoneBookRows(), (QList<std::pair<QByteArray, QByteArray>>{
                                         {"Gate", "555"}, {"ADMIN1", "+420999"}, {"PARKEY", "9#9"}}));
    QCOMPARE(w.fakes.errors.messages.size(), 1);
    const QString &message = w.fakes.errors.messages.first();
    QVERIFY2(message.contains("ADMIN1 at SIM index 4") && message.contains("PARKEY at SIM index 5"),
             qPrintable(message));

    w.fakes.port.sent.clear();
    w.form.SaveOXAClick();
    for (int reply = 0; reply < 100 && w.form.session().writing(); ++reply)
        w.line("OK");
    const QByteArray sent = w.fakes.port.sentBytes();
    const qsizetype taken = sent.indexOf("AT+CPBW=1,+420111,,ADMIN1\r\n");
    const qsizetype repeated = sent.indexOf(",+420999,,ADMIN1\r\n");
    QVERIFY2(taken >= 0 && repeated > taken, sent.constData());
    QVERIFY2(sent.contains(",9#9,,PARKEY\r\n") && sent.contains(",3#1,,PARKEY\r\n"), sent.constData());
}

// A line longer than any reply may have been an entry: the listing it came in is not whole.
void TestDeviceReplies::aLineCutShortEndsTheReadItCameIn() {
    Window w;
    w.form.ctl<QLineEdit>("ADMIN1")->setText("+420000");
    w.list({test::entryLine(1, "+420111", "ADMIN1"), test::entryLine(2, QByteArray(5000, '5'), "Gate"),
            test::entryLine(3, "777", "Home")});
    QCOMPARE(w.form.ctl<QLineEdit>("ADMIN1")->text(), QString("+420000"));
    QCOMPARE(w.form.session().readState().outcome(), UnitRead::Outcome::Failed);
    QVERIFY(!w.form.configuration().listing());
    QCOMPARE(w.fakes.errors.messages.size(), 1);
    QVERIFY2(w.fakes.errors.messages.first().contains("longer than 4096 bytes"),
             qPrintable(w.fakes.errors.messages.first()));
}

QTEST_MAIN(TestDeviceReplies)
#include "tst_device_replies.moc"
