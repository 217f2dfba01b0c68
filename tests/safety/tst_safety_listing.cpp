// The window shows what the unit's last whole listing holds, and nothing that addresses a SIM index goes
// out unless that listing is current: not after a read that was refused, cut off, garbled or silent,
// not while a read runs, not after the line was lost or the script ran.
#include "safetywindow.h"
#include "simwindow.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>

using namespace oxa;
using namespace oxa::test;

namespace {

using Rows = QList<std::pair<QByteArray, QByteArray>>;

// What can happen to the unit, or to the read of it, after the first whole read.
enum class Since {
    Nothing,
    ReadRefused,   // the listing is answered "+CME ERROR"
    ReadCutOff,    // two entries come, then nothing for the read's 10 s
    GarbledEntry,  // an entry line that cannot be read
    SmallSim,      // the next read finds a SIM of 10 indexes, which is not listed
    ScriptRan,     // Run: the unit's script may change its SIM
    LineLost,      // the adapter was pulled out
    ReadUnderWay,  // a read has started and not finished
    ChangeRefused, // a change to an entry was refused
};

void bringAbout(SafetyWindow &w, Since since) {
    auto &port = w.fakes.port;
    switch (since) {
    case Since::Nothing:
        break;
    case Since::ReadRefused:
        playRead(w.form, port, {"+CME ERROR: 21"}, 40, false);
        break;
    case Since::ReadCutOff:
        playRead(w.form, port, {entryLine(1, "+420111", "ADMIN1"), entryLine(2, "555", "M5-1")}, 40, false);
        w.expire("ReadSilence");
        break;
    case Since::GarbledEntry:
        playRead(w.form, port, {entryLine(1, "+420111", "ADMIN1"), "+CPBR: 2,555,129,M5-1"}, 40);
        break;
    case Since::SmallSim:
        playRead(w.form, port, {}, 10, false);
        break;
    case Since::ScriptRan:
        w.form.RunOXAClick();
        port.setDtr(true);
        break;
    case Since::LineLost:
        emit port.lost(QStringLiteral("The serial port COM1 stopped working (device removed)."));
        port.close();
        break;
    case Since::ReadUnderWay:
        startRead(w.form, port);
        w.line("#SPN: Operator");
        break;
    case Since::ChangeRefused:
        w.clickNode("TreeCode", "3:C246C[1#0]");
        w.click("WriteCode0");
        w.line("ERROR");
        break;
    }
}

} // namespace

class TestSafetyListing : public QObject {
    Q_OBJECT
private slots:
    void deletedRowLeavesNoNodeThatDeletesAnotherEntry();
    void indexCommandsWaitForACurrentWholeListing_data();
    void indexCommandsWaitForACurrentWholeListing();
    void cutOffReadIsNeverUsedAsWhole();
    void readLinesOutsideAReadChangeNothing_data();
    void readLinesOutsideAReadChangeNothing();
    void loadingAFileDuringAReadIsRefused();
    void malformedSimSizeIsRefused_data();
    void malformedSimSizeIsRefused();
    void writeWithNothingReadIsRefused();
    void stopWithoutAnsweringUnitSaysSoWhenTheBarIsFull();
};

// A grid row deleted and written: the read-back lists the SIM without it, and no tree node of the
// deleted memory is left to address the index where another entry now stands.
void TestSafetyListing::deletedRowLeavesNoNodeThatDeletesAnotherEntry() {
    sim::UnitOptions options = SimWindow::defaultOptions();
    options.simSize = 20;
    options.simContent = {{1, sim::SimEntry{"111", "M5-1"}}, {2, sim::SimEntry{"+420111", "ADMIN1"}}};
    SimWindow w(options);
    w.form.start();
    w.settle();
    w.stopAndRead();
    QCOMPARE(w.form.ctl<QTreeWidget>("TreeMemo")->topLevelItemCount(), 1);

    auto *grid = w.form.ctl<QTableWidget>("PhoneBook1");
    QCOMPARE(grid->item(0, 0)->text(), QString("M5-1"));
    grid->setCurrentCell(0, 0);
    w.form.ctl<QPushButton>("LineDel")->click();
    w.form.ctl<QPushButton>("SaveOXA")->click();
    QVERIFY(w.settle([&] { return !w.form.session().writing(); }));
    w.settle();
    QCOMPARE(w.unit().sim().entry(1)->name, QByteArray("ADMIN1"));

    // The memory is gone from the unit, so it is gone from the tree.
    auto *tree = w.form.ctl<QTreeWidget>("TreeMemo");
    QCOMPARE(tree->topLevelItemCount(), 0);
    if (tree->topLevelItemCount() > 0)
        tree->setCurrentItem(tree->topLevelItem(0));
    w.form.ctl<QPushButton>("DelMemo")->click();
    w.settle();
    QVERIFY(w.unit().sim().entry(1).has_value());
    QCOMPARE(w.unit().sim().entry(1)->name, QByteArray("ADMIN1"));
    QVERIFY2(w.errors.messages.isEmpty(), qPrintable(w.errors.messages.join('\n')));
}

void TestSafetyListing::indexCommandsWaitForACurrentWholeListing_data() {
    QTest::addColumn<int>("since");
    QTest::addColumn<bool>("wholeWriteAllowed");
    QTest::newRow("nothing: the listing is current") << int(Since::Nothing) << true;
    QTest::newRow("read refused") << int(Since::ReadRefused) << false;
    QTest::newRow("read cut off") << int(Since::ReadCutOff) << false;
    QTest::newRow("garbled entry line") << int(Since::GarbledEntry) << false;
    QTest::newRow("SIM too small to list") << int(Since::SmallSim) << false;
    QTest::newRow("script ran") << int(Since::ScriptRan) << true;
    QTest::newRow("line lost") << int(Since::LineLost) << false;
    QTest::newRow("read under way") << int(Since::ReadUnderWay) << false;
    QTest::newRow("change refused") << int(Since::ChangeRefused) << true;
}

void TestSafetyListing::indexCommandsWaitForACurrentWholeListing() {
    QFETCH(int, since);
    QFETCH(bool, wholeWriteAllowed);
    SafetyWindow w;
    const QStringList memoBefore = w.nodes("TreeMemo");
    QCOMPARE(memoBefore, QStringList{"2:M5-1[555]"});
    bringAbout(w, Since(since));
    // Whatever happened, the window still shows the last whole listing.
    QCOMPARE(w.nodes("TreeMemo"), memoBefore);
    w.clearRecords();

    const bool current = Since(since) == Since::Nothing;
    // Delete of a memory, of a code, the detect switch: each either goes to the listed index or not at all.
    QVERIFY(w.clickNode("TreeMemo", "2:M5-1[555]"));
    w.click("DelMemo");
    QCOMPARE(w.fakes.port.sent, current ? QList<QByteArray>{"AT+CPBW=2\r\n"} : QList<QByteArray>{});
    if (current)
        return;
    QCOMPARE(w.fakes.errors.messages.size(), 1);
    QVERIFY2(w.fakes.errors.messages.first().contains("Nothing was"),
             qPrintable(w.fakes.errors.messages.first()));

    QVERIFY(w.clickNode("TreeCode", "3:C246C[1#0]"));
    w.click("DelCode");
    w.click("WriteCode0");
    auto *detect = w.form.ctl<QAbstractButton>("DetBut");
    QVERIFY(detect->isChecked());
    detect->click();
    QVERIFY(detect->isChecked()); // the box shows the unit's setting again
    QCOMPARE(w.fakes.port.sent, QList<QByteArray>{});
    QCOMPARE(w.fakes.errors.messages.size(), 4);

    // A whole write overwrites every index: it needs a SIM read whole, not necessarily current indexes.
    w.fakes.errors.messages.clear();
    if (Since(since) == Since::ReadUnderWay || Since(since) == Since::ScriptRan)
        playRead(w.form, w.fakes.port, smallSimLines(), 40, false); // finishes the read, or reads again
    else
        w.fakes.port.setDtr(true);
    if (Since(since) != Since::ReadUnderWay && Since(since) != Since::ScriptRan) {
        w.fakes.port.sent.clear();
        w.form.SaveOXAClick();
        QCOMPARE(w.form.session().writing(), wholeWriteAllowed);
        QCOMPARE(w.fakes.port.sent.isEmpty(), !wholeWriteAllowed);
        QCOMPARE(w.fakes.errors.messages.size(), wholeWriteAllowed ? 0 : 1);
        if (wholeWriteAllowed)
            return;
    }

    // A whole read makes the indexes current again.
    w.fakes.port.open();
    w.clearRecords();
    playRead(w.form, w.fakes.port, smallSimLines(), 40);
    w.fakes.port.sent.clear();
    QVERIFY(w.clickNode("TreeMemo", "2:M5-1[555]"));
    w.click("DelMemo");
    QVERIFY2(w.fakes.errors.messages.isEmpty(), qPrintable(w.fakes.errors.messages.join('\n')));
    QCOMPARE(w.fakes.port.sent, QList<QByteArray>{"AT+CPBW=2\r\n"});
}

// Two entries arrive and the unit falls silent: one message says so; the window keeps the last whole
// read; no whole write goes over the unit; a later backup holds the last whole read, not the part.
void TestSafetyListing::cutOffReadIsNeverUsedAsWhole() {
    SafetyWindow w;
    const QList<std::pair<QByteArray, QByteArray>> rowsBefore = w.form.phoneBookRows();
    playRead(w.form, w.fakes.port, {entryLine(1, "+420999", "ADMIN1"), entryLine(2, "777", "Eva")}, 40,
             false);
    QCOMPARE(w.form.findChild<QTimer *>("ReadSilence")->interval(), 10000);
    QVERIFY(w.fakes.errors.messages.isEmpty());
    w.expire("ReadSilence");
    QCOMPARE(w.fakes.errors.messages.size(), 1);
    const QString message = w.fakes.errors.messages.first();
    QVERIFY2(message.contains("2 entries") && message.contains("nothing for 10 s"), qPrintable(message));
    QCOMPARE(w.form.phoneBookRows(), rowsBefore);
    QCOMPARE(w.form.ctl<QLineEdit>("ADMIN1")->text(), QString("+420111"));

    w.fakes.port.sent.clear();
    w.form.SaveOXAClick();
    QVERIFY(w.fakes.port.sent.isEmpty());
    QVERIFY(!w.form.session().writing());
    QCOMPARE(w.fakes.errors.messages.size(), 2);

    // The next whole read, then a write: its backup is that read.
    playRead(w.form, w.fakes.port, {entryLine(1, "+420222", "ADMIN1"), entryLine(7, "777", "Eva")}, 40);
    w.form.SaveOXAClick();
    QVERIFY(w.form.session().writing());
    QFile backup(w.form.session().lastBackup());
    QVERIFY(backup.open(QIODevice::ReadOnly));
    const QByteArray kept = backup.readAll();
    QVERIFY(kept.startsWith("ADMIN1=+420222\r\n"));
    QVERIFY(kept.contains("\r\nEva=777\r\n"));
    QVERIFY(!kept.contains("Novak"));
}

void TestSafetyListing::readLinesOutsideAReadChangeNothing_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("size") << QByteArray("+CPBR: (1-3),40,18");
    QTest::newRow("key entry") << entryLine(1, "+420999", "ADMIN1");
    QTest::newRow("row") << entryLine(9, "123", "Intruder");
    QTest::newRow("memory") << entryLine(9, "123", "M7-1");
}

// Lines of a read that come when no read runs are logged and change nothing: not the grid, not a key,
// not the SIM size the next whole write empties up to.
void TestSafetyListing::readLinesOutsideAReadChangeNothing() {
    QFETCH(QByteArray, line);
    SafetyWindow w;
    const Rows rows = w.form.phoneBookRows();
    const QStringList memo = w.nodes("TreeMemo");
    const int logged = w.form.monitor()->lineCount();
    w.line(line);
    QCOMPARE(w.form.monitor()->lineCount(), logged + 1);
    QCOMPARE(w.form.phoneBookRows(), rows);
    QCOMPARE(w.nodes("TreeMemo"), memo);
    QCOMPARE(w.form.ctl<QLineEdit>("ADMIN1")->text(), QString("+420111"));
    QCOMPARE(w.form.session().simSize(), 40);
    QVERIFY(w.fakes.errors.messages.isEmpty());

    // The write still empties every index of the SIM as listed.
    w.form.SaveOXAClick();
    for (int reply = 0; reply < 200 && w.form.session().writing(); ++reply)
        w.line("OK");
    QVERIFY(w.fakes.port.sent.contains("AT+CPBW=40\r\n"));
    QVERIFY(w.fakes.port.sent.contains("AT+CPBR=1,40\r\n"));
}

void TestSafetyListing::loadingAFileDuringAReadIsRefused() {
    SafetyWindow w;
    QFile file(w.folder.filePath("site.oxa"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("ADMIN1=+420777\r\nGate=555\r\n");
    file.close();
    playRead(w.form, w.fakes.port, {entryLine(1, "+420111", "ADMIN1")}, 40, false);
    w.fakes.dialogs.openAnswers.enqueue(file.fileName());
    w.click("Load");
    QCOMPARE(w.fakes.errors.messages.size(), 1);
    QVERIFY(w.fakes.dialogs.openAnswers.size() == 1); // not even asked for a file
    QCOMPARE(w.form.ctl<QLineEdit>("ADMIN1")->text(), QString("+420111"));
    // Once the read is whole, the file loads.
    w.line("OK");
    w.click("Load");
    QCOMPARE(w.form.ctl<QLineEdit>("ADMIN1")->text(), QString("+420777"));
    QCOMPARE(w.fakes.errors.messages.size(), 1);
}

void TestSafetyListing::malformedSimSizeIsRefused_data() {
    QTest::addColumn<QByteArray>("reply");
    QTest::newRow("double minus") << QByteArray("+CPBR: (1--5),40,18");
    QTest::newRow("beyond int") << QByteArray("+CPBR: (1-99999999999),40,18");
    QTest::newRow("int max") << QByteArray("+CPBR: (1-2147483647),40,18");
    QTest::newRow("above 1000") << QByteArray("+CPBR: (1-1001),40,18");
    QTest::newRow("zero") << QByteArray("+CPBR: (1-0),40,18");
    QTest::newRow("letters") << QByteArray("+CPBR: (1-25x),40,18");
}

// A size that is no plain number from 1 to 1000 ends the read with one message: no listing is asked for,
// and no write empties indexes up to it.
void TestSafetyListing::malformedSimSizeIsRefused() {
    QFETCH(QByteArray, reply);
    SafetyWindow w;
    startRead(w.form, w.fakes.port);
    w.line("#SPN: Operator");
    w.line("OK");
    w.fakes.port.sent.clear();
    w.line(reply);
    QVERIFY(w.fakes.port.sent.isEmpty());
    QVERIFY(!w.form.session().reading());
    QCOMPARE(w.fakes.errors.messages.size(), 1);
    QCOMPARE(w.form.session().simSize(), 40);
    w.form.SaveOXAClick();
    QVERIFY(w.fakes.port.sent.isEmpty());
}

// A unit in programming mode at start answers "Telit"; with DTR low nothing is listed. A whole write
// then has no SIM to go by: it is refused with a message instead of sending "AT" and a read of nothing.
void TestSafetyListing::writeWithNothingReadIsRefused() {
    FakeSeams fakes;
    QTemporaryDir folder;
    TForm1 form(fakes.seams(), folder.filePath("OXAset"));
    form.start();
    fakes.port.deliver("Telit\r\n#SPN: Operator\r\nOK\r\n");
    QVERIFY(form.ctl<QPushButton>("SaveOXA")->isEnabled());
    fakes.port.sent.clear();
    form.ctl<QPushButton>("SaveOXA")->click();
    QVERIFY(fakes.port.sent.isEmpty());
    QCOMPARE(fakes.errors.messages.size(), 1);
    QVERIFY(fakes.errors.messages.first().contains("Read the unit"));
}

// Stop with nothing at the other end: the bar fills for 250 s, then one message names the port and
// what to check, and Stop, Run and Load can be used again.
void TestSafetyListing::stopWithoutAnsweringUnitSaysSoWhenTheBarIsFull() {
    SafetyWindow w;
    w.form.ctl<QPushButton>("RunOXA")->click();
    w.form.ctl<QPushButton>("StopOXA")->click();
    auto *progress = w.form.ctl<QProgressBar>("Prubeh");
    for (int second = 1; second < 250; ++second)
        w.form.CekaniTimer();
    QVERIFY(w.fakes.errors.messages.isEmpty());
    QVERIFY(w.form.findChild<QTimer *>("Cekani")->isActive());
    w.form.CekaniTimer();
    QVERIFY(!w.form.findChild<QTimer *>("Cekani")->isActive());
    QVERIFY(progress->isHidden());
    QCOMPARE(w.fakes.errors.messages.size(), 1);
    const QString message = w.fakes.errors.messages.first();
    QVERIFY2(message.contains("did not report") && message.contains("cable") &&
                 message.contains("/dev/ttyUSB0"),
             qPrintable(message));
    for (const char *button : {"StopOXA", "RunOXA", "LoadOXA"})
        QVERIFY2(w.form.ctl<QPushButton>(button)->isEnabled(), button);
    // Load asks the unit directly: a module that takes commands starts a read.
    w.fakes.port.sent.clear();
    w.click("LoadOXA");
    QCOMPARE(w.fakes.port.sent, QList<QByteArray>{"AT+CGMI\r\n"});
}

QTEST_MAIN(TestSafetyListing)
#include "tst_safety_listing.moc"
