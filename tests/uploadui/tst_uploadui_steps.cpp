// Upload steps on the window, reply by reply: each kind's exchange, data in pieces as the output
// queue drains, the pause before a file send, the progress bar, and the faults that stop an upload.
#include "uploadfixture.h"

#include <QTest>
#include <QTimer>

using namespace oxa;

using ByteList = QList<QByteArray>;

namespace {

// The bytes a file step writes: its test file's content.
const QByteArray Script = "import MDM\r\nprint('\xe9')\n";
const QByteArray Voice = test::patternBytes(300);

QTimer *replyTimer(test::UploadWindow &w) {
    return w.form->findChild<QTimer *>("UploadTimeout");
}

} // namespace

class TestUploadSteps : public QObject {
    Q_OBJECT
private slots:
    void stepExchange_data();
    void stepExchange();
    void dataInPieces_data();
    void dataInPieces();
    void asendWaitsTheConfiguredPauseBeforeItsCommand();
    void namesKeepTheirBytesFromListToModule();
    void progressFollowsTheStepsAndUpgradeStartsOver();
    void faultStopsWithOneMessage_data();
    void faultStopsWithOneMessage();
    void stalledLineStopsTheUpload();
    void refusedSendEndsTheUpload();
    void replyTimerRunsWhileAStepWaits();
    void relativeNamesAreTakenBesideTheListLoaded();
    void deviceButtonsWaitWhileAnUploadRuns();
};

void TestUploadSteps::stepExchange_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QString>("logged");
    QTest::addColumn<ByteList>("replies");   // delivered one after another
    QTest::addColumn<ByteList>("responses"); // what the window sends on each

    const QByteArray next = "AT+GMR\r\n"; // the list's second line, a marker of "next line"
    QTest::newRow("RUN") << "RUN:oxa.pyo" << QByteArray("AT#ESCRIPT=oxa.pyo\r\n") << "AT#ESCRIPT=oxa.pyo"
                         << ByteList{"\r\nOK\r\n"} << ByteList{next};
    QTest::newRow("RUN with nothing after the colon")
        << "RUN:" << QByteArray("AT#ESCRIPT=\r\n") << "AT#ESCRIPT=" << ByteList{"OK\r\n"} << ByteList{next};
    QTest::newRow("SET") << "SET:AT#SLED=2" << QByteArray("AT#SLED=2\r\n") << "AT#SLED=2"
                         << ByteList{"OK\r\n"} << ByteList{next};
    QTest::newRow("DEL") << "DEL:old.pyo" << QByteArray("AT#DSCRIPT=old.pyo\r\n") << "AT#DSCRIPT=old.pyo"
                         << ByteList{"OK\r\n"} << ByteList{next};
    QTest::newRow("plain file") << "oxa.pyo" << QByteArray("AT#WSCRIPT=oxa.pyo,23\r\n")
                                << "AT#WSCRIPT=oxa.pyo,23" << ByteList{"\r\n>>>", "\r\nOK\r\n"}
                                << ByteList{Script, next};
    QTest::newRow("ASEND: an OK before the event does not advance")
        << "ASEND:hello.amr" << QByteArray("AT#ASEND=hello.amr,300\r\n") << "AT#ASEND=hello.amr,300"
        << ByteList{"\r\nCONNECT", "\r\nOK\r\n", "\r\n#ASENDEV: 0\r\n", "\r\nOK\r\n"}
        << ByteList{Voice, {}, "AT\r\n", next};
    QTest::newRow("a prompt to a step without a file sends nothing")
        << "DEL:old.pyo" << QByteArray("AT#DSCRIPT=old.pyo\r\n") << "AT#DSCRIPT=old.pyo"
        << ByteList{"\r\n>>>", "\r\nOK\r\n"} << ByteList{{}, next};
    QTest::newRow("a second prompt does not send the data again")
        << "oxa.pyo" << QByteArray("AT#WSCRIPT=oxa.pyo,23\r\n") << "AT#WSCRIPT=oxa.pyo,23"
        << ByteList{"\r\n>>>", "\r\n>>>", "\r\nOK\r\n"} << ByteList{Script, {}, next};
    QTest::newRow("an OK before the prompt is not the end of a file step")
        << "oxa.pyo" << QByteArray("AT#WSCRIPT=oxa.pyo,23\r\n") << "AT#WSCRIPT=oxa.pyo,23"
        << ByteList{"\r\nOK\r\n", "\r\n>>>", "\r\nOK\r\n"} << ByteList{{}, Script, next};
}

void TestUploadSteps::stepExchange() {
    QFETCH(QString, line);
    QFETCH(QByteArray, command);
    QFETCH(QString, logged);
    QFETCH(ByteList, replies);
    QFETCH(ByteList, responses);

    test::UploadWindow w;
    w.writeFile("oxa.pyo", Script);
    w.writeFile("hello.amr", Voice);
    w.setList(line + "\nSET:AT+GMR\n");
    w.upgrade();
    QCOMPARE(w.port.sent, ByteList{command});
    QCOMPARE(w.monitorLines().last(), logged);
    for (qsizetype i = 0; i < replies.size(); ++i) {
        w.port.sent.clear();
        w.port.deliver(replies[i]);
        QCOMPARE(w.port.sent, responses[i].isNull() ? ByteList{} : ByteList{responses[i]});
    }
    QCOMPARE(w.monitorCount("+++++++++++++++"), classifyUploadLine(line).sendsFile() ? 1 : 0);
    QCOMPARE(w.monitorLines().last(), QString("AT+GMR"));
    QVERIFY(w.uploading());

    w.port.sent.clear();
    w.port.deliver("OK\r\n");
    QVERIFY(w.port.sent.isEmpty());
    QVERIFY(!w.uploading());
    QVERIFY(!w.form->session().asendPending());
    QVERIFY(!w.progress()->isHidden());
    QCOMPARE(w.progress()->value(), 2);
    QVERIFY2(w.errors.messages.isEmpty(), qPrintable(w.errors.messages.join('\n')));
}

void TestUploadSteps::dataInPieces_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("pieces");
    QTest::newRow("1 byte") << 1 << 1;
    QTest::newRow("64000: one piece") << 64000 << 1;
    QTest::newRow("64001: two") << 64001 << 2;
    QTest::newRow("128000: two") << 128000 << 2;
    QTest::newRow("128001: three") << 128001 << 3;
    QTest::newRow("300000: five") << 300000 << 5;
}

void TestUploadSteps::dataInPieces() {
    QFETCH(int, size);
    QFETCH(int, pieces);
    const QByteArray data = test::patternBytes(size);
    test::UploadWindow w;
    w.writeFile("voice.amr", data);
    w.setList("voice.amr\n");
    w.upgrade();
    QCOMPARE(w.port.sent, ByteList{"AT#WSCRIPT=voice.amr," + QByteArray::number(size) + "\r\n"});

    w.port.sent.clear();
    w.port.freeAtSend.clear();
    w.pause.pauses.clear();
    w.port.deliver("\r\n>>>");
    QCOMPARE(w.port.sent.size(), pieces);
    QCOMPARE(w.port.sentBytes(), data);
    for (int i = 0; i < pieces; ++i) {
        QVERIFY(w.port.sent[i].size() <= PortLayer::OutputQueueSize);
        // Every later piece goes into an emptied queue.
        if (i > 0)
            QCOMPARE(w.port.freeAtSend[i], PortLayer::OutputQueueSize);
    }
    QCOMPARE(w.pause.pauses.first(), 500);
    QCOMPARE(w.monitorCount("flush buffer"), pieces - 1);
    // At the line rate a full piece takes about 5.6 s to leave: six waits of a second each.
    QCOMPARE(w.monitorCount("sending"), (pieces - 1) * 6);
    QCOMPARE(w.pause.pauses.count(1000), (pieces - 1) * 6);
    const QStringList lines = w.monitorLines();
    QCOMPARE(lines.indexOf("+++++++++++++++"),
             lines.indexOf("AT#WSCRIPT=voice.amr," + QString::number(size)) + 2);

    w.port.deliver("\r\nOK\r\n");
    QVERIFY(!w.uploading());
    QVERIFY(w.errors.messages.isEmpty());
}

void TestUploadSteps::asendWaitsTheConfiguredPauseBeforeItsCommand() {
    test::UploadWindow w("[Form]\r\nWaitSer=750\r\n");
    w.writeFile("a.amr", Voice);
    QList<qsizetype> sentAtPause;
    w.pause.during = [&] { sentAtPause << w.port.sent.size(); };
    w.setList("DEL:x\nASEND:a.amr");
    w.upgrade();
    QCOMPARE(w.pause.pauses, QList<int>{}); // the first step starts at once
    w.port.deliver("OK\r\n");
    QCOMPARE(w.pause.pauses, QList<int>({500, 750}));
    QCOMPARE(sentAtPause, QList<qsizetype>({1, 1})); // both before the command went out
    QCOMPARE(w.port.sent.last(), QByteArray("AT#ASEND=a.amr,300\r\n"));
    QVERIFY(w.form->session().asendPending());
}

void TestUploadSteps::namesKeepTheirBytesFromListToModule() {
    // A list saved in UTF-8 names a file with an accented letter: the module gets the name's bytes as
    // the list holds them, and the file on this computer is found under the same bytes.
    test::UploadWindow w;
    const QByteArray name = "hl\xc3\xa1s.amr";
    w.writeFile(QString::fromUtf8(name), Voice);
    w.writeFile("voice.ifo", "ASEND:" + name + "\r\n");
    w.dialogs.openAnswers << w.folder.filePath("voice.ifo");
    w.click("LoadList");
    w.upgrade();
    QVERIFY2(w.errors.messages.isEmpty(), qPrintable(w.errors.messages.join('\n')));
    QCOMPARE(w.port.sent, ByteList{"AT#ASEND=" + name + ",300\r\n"});
}

void TestUploadSteps::progressFollowsTheStepsAndUpgradeStartsOver() {
    test::UploadWindow w;
    w.setList("RUN:a\nRUN:b\nRUN:c\n");
    w.upgrade();
    QCOMPARE(w.progress()->maximum(), 4);
    QCOMPARE(w.progress()->value(), 1);
    QVERIFY(!w.progress()->isHidden());
    w.port.deliver("OK\r\n");
    w.port.deliver("OK\r\n");
    QCOMPARE(w.progress()->value(), 2);
    QCOMPARE(w.port.sent.last(), QByteArray("AT#ESCRIPT=c\r\n"));

    w.upgrade(); // pressed again: line 0 once more
    QCOMPARE(w.port.sent.last(), QByteArray("AT#ESCRIPT=a\r\n"));
    QCOMPARE(w.form->session().uploadIndex(), 0);
    for (int i = 0; i < 3; ++i)
        w.port.deliver("OK\r\n");
    QCOMPARE(w.port.sent.size(), 6);
    QVERIFY(!w.uploading());
    // Done: the bar stays where the last step left it until another operation hides it.
    QVERIFY(!w.progress()->isHidden());
    QCOMPARE(w.progress()->value(), 3);
    QCOMPARE(w.progress()->maximum(), 4);
    w.port.deliver("#CBC: 0,405\r\n");
    QVERIFY(w.progress()->isHidden());
}

void TestUploadSteps::faultStopsWithOneMessage_data() {
    QTest::addColumn<QString>("list");
    // What happens to line 2: "" (its file), the module's reply (after a prompt), or "timeout".
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QStringList>("message");
    QTest::addColumn<int>("sentCommands");

    // A step that cannot run is found before anything goes out: the "DEL:" before it is not sent.
    QTest::newRow("missing file") << "DEL:a\nnothere.pyo\nRUN:x"
                                  << "" << QStringList{"line 2", "nothere.pyo", "Nothing was sent"} << 0;
    QTest::newRow("empty file") << "DEL:a\nASEND:empty.amr\nRUN:x"
                                << "" << QStringList{"line 2", "empty.amr", "empty"} << 0;
    QTest::newRow("empty line inside the list") << "DEL:a\n\nRUN:x"
                                                << "" << QStringList{"line 2", "\"\""} << 0;
    QTest::newRow("ERROR") << "DEL:a\nRUN:x\nDEL:b"
                           << "ERROR" << QStringList{"line 2", "RUN:x", "ERROR"} << 2;
    QTest::newRow("+CME ERROR") << "DEL:a\nSET:AT+CPBS=\"XX\"\nDEL:b"
                                << "+CME ERROR: 3" << QStringList{"line 2", "AT+CPBS", "+CME ERROR: 3"} << 2;
    QTest::newRow("ERROR after the data") << "DEL:a\noxa.pyo\nDEL:b"
                                          << ">>> ERROR" << QStringList{"line 2", "oxa.pyo", "ERROR"} << 3;
    QTest::newRow("no reply") << "DEL:a\nASEND:hello.amr\nDEL:b"
                              << "timeout" << QStringList{"line 2", "ASEND:hello.amr", "30 s"} << 2;
    // The line goes away: the step, the loss, and what the module may hold of the step.
    QTest::newRow("line lost before the prompt")
        << "DEL:a\noxa.pyo\nDEL:b"
        << "lost"
        << QStringList{"line 2 (\"oxa.pyo\")", "stopped working", "may still be waiting for the file oxa.pyo",
                       "switch the unit off and on"}
        << 2;
    QTest::newRow("line lost after the data")
        << "DEL:a\nASEND:hello.amr\nDEL:b"
        << ">>> lost" << QStringList{"line 2", "stopped working", "may hold only part of the file hello.amr"}
        << 3;
    QTest::newRow("line lost on a delete")
        << "DEL:a\nDEL:b\nRUN:x"
        << "lost" << QStringList{"line 2", "stopped working", "may or may not have deleted b"} << 2;
    QTest::newRow("line lost on a command")
        << "DEL:a\nSET:AT+CSQ\nRUN:x"
        << "lost" << QStringList{"line 2", "may or may not have carried out \"AT+CSQ\""} << 2;
}

void TestUploadSteps::faultStopsWithOneMessage() {
    QFETCH(QString, list);
    QFETCH(QString, fault);
    QFETCH(QStringList, message);
    QFETCH(int, sentCommands);

    test::UploadWindow w;
    w.writeFile("empty.amr", {});
    w.writeFile("oxa.pyo", Script);
    w.writeFile("hello.amr", Voice);
    w.setList(list);
    w.upgrade();
    w.port.deliver("OK\r\n");
    const auto loseTheLine = [&] {
        w.port.close();
        emit w.port.lost("The serial port /dev/ttyUSB0 stopped working (the device is gone).");
    };
    if (fault == "timeout") {
        QVERIFY(replyTimer(w)->isActive());
        w.timeOutStep();
    } else if (fault == "lost") {
        loseTheLine();
    } else if (fault == ">>> lost") {
        w.port.deliver("\r\n>>>");
        loseTheLine();
    } else if (fault.startsWith(">>> ")) {
        w.port.deliver("\r\n>>>\r\n" + fault.mid(4).toLatin1() + "\r\n");
    } else if (!fault.isEmpty()) {
        w.port.deliver("\r\n" + fault.toLatin1() + "\r\n");
    }
    QCOMPARE(w.port.sent.size(), sentCommands);
    QCOMPARE(w.errors.messages.size(), 1);
    for (const QString &part : message)
        QVERIFY2(w.errors.messages[0].contains(part), qPrintable(w.errors.messages[0]));
    QVERIFY(!w.uploading());
    QVERIFY(!w.form->session().asendPending());
    QVERIFY(w.progress()->isHidden());
    QVERIFY(!replyTimer(w) || !replyTimer(w)->isActive());

    // Late replies and a second failure change nothing: no further step, no second message.
    w.port.deliver("\r\n>>>\r\nOK\r\n#ASENDEV: 0\r\nOK\r\n");
    w.port.deliver("\r\nERROR\r\n");
    w.timeOutStep();
    QCOMPARE(w.port.sent.size(), sentCommands);
    QCOMPARE(w.errors.messages.size(), 1);
}

void TestUploadSteps::stalledLineStopsTheUpload() {
    test::UploadWindow w;
    const QByteArray data = test::patternBytes(200000);
    w.writeFile("big.amr", data);
    w.setList("big.amr\nRUN:x");
    w.upgrade();
    w.port.stalled = true; // the module holds CTS for good
    w.port.m_freeSpace = PortLayer::OutputQueueSize;
    w.port.sent.clear();
    w.port.deliver("\r\n>>>");
    QCOMPARE(w.port.sent, ByteList{data.left(64000)});
    QCOMPARE(w.monitorCount("sending"), UploadDrainIdleWaits);
    QCOMPARE(w.monitorCount("flush buffer"), 0);
    QCOMPARE(w.errors.messages.size(), 1);
    QVERIFY2(w.errors.messages[0].contains("line 1"), qPrintable(w.errors.messages[0]));
    QVERIFY(!w.uploading());
    QVERIFY(w.progress()->isHidden());
    w.port.deliver("\r\nOK\r\n");
    QCOMPARE(w.port.sent.size(), 1);
}

void TestUploadSteps::refusedSendEndsTheUpload() {
    // The port refuses the command (no room): one message, and no step left waiting for a reply.
    test::UploadWindow w;
    w.setList("RUN:a\nRUN:b");
    w.port.stalled = true;
    w.port.m_freeSpace = 4;
    w.upgrade();
    QVERIFY(w.port.sent.isEmpty());
    QCOMPARE(w.errors.messages.size(), 1);
    QVERIFY(!w.uploading());
    QVERIFY(w.progress()->isHidden());
    QVERIFY(!replyTimer(w) || !replyTimer(w)->isActive());
}

void TestUploadSteps::replyTimerRunsWhileAStepWaits() {
    test::UploadWindow w;
    w.writeFile("oxa.pyo", Script);
    w.setList("oxa.pyo\nRUN:x");
    w.upgrade();
    QTimer *timer = replyTimer(w);
    QVERIFY(timer);
    QVERIFY(timer->isActive());
    QVERIFY(timer->isSingleShot());
    QCOMPARE(timer->interval(), UploadReplyTimeoutMs);
    w.port.deliver("\r\n>>>");
    QVERIFY(timer->isActive()); // restarted once the data is out
    w.port.deliver("\r\nOK\r\n");
    QVERIFY(timer->isActive()); // the next step's command waits
    w.port.deliver("OK\r\n");
    QVERIFY(!timer->isActive());

    // The timer's own tick ends a waiting step, through the window's handler.
    w.upgrade();
    w.form->session().uploadTimeout()->setInterval(0);
    w.upgrade();
    QVERIFY(timer->isActive());
    QTRY_COMPARE_WITH_TIMEOUT(w.errors.messages.size(), 1, 0);
    QVERIFY(!w.uploading());
}

// A list chosen in another folder names the files beside it, not in the current folder (the open
// dialog of the program's first platform made the list's folder the current one).
void TestUploadSteps::relativeNamesAreTakenBesideTheListLoaded() {
    test::UploadWindow w;
    QTemporaryDir elsewhere;
    QFile list(elsewhere.filePath("update.ifo"));
    QVERIFY(list.open(QIODevice::WriteOnly));
    list.write("DEL:oxa.pyo\r\noxa.pyo\r\n");
    list.close();
    QFile script(elsewhere.filePath("oxa.pyo"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(Script);
    script.close();
    const QByteArray here = "the current folder's file, not the list's";
    w.writeFile("oxa.pyo", here);
    w.dialogs.openAnswers.enqueue(list.fileName());
    w.click("LoadList");
    w.upgrade();
    w.port.deliver("OK\r\n");
    QCOMPARE(w.port.sent.value(1), "AT#WSCRIPT=oxa.pyo," + QByteArray::number(Script.size()) + "\r\n");
    w.port.deliver(">>>");
    QCOMPARE(w.port.sent.value(2), Script);
    QVERIFY(w.errors.messages.isEmpty());
    // A cleared list is a typed one again: its names are taken from the current folder.
    w.port.deliver("\r\nOK\r\n");
    w.click("ClrList");
    w.setList("ASEND:oxa.pyo");
    w.port.sent.clear();
    w.upgrade();
    QCOMPARE(w.port.sent.value(0), "AT#ASEND=oxa.pyo," + QByteArray::number(here.size()) + "\r\n");
}

// Load, Save, Run and Stop would put their commands between the upload's: they wait until it ends,
// and come back as they were.
void TestUploadSteps::deviceButtonsWaitWhileAnUploadRuns() {
    test::UploadWindow w;
    const char *buttons[] = {"SaveOXA", "LoadOXA", "RunOXA", "StopOXA"};
    QMap<QString, bool> before;
    for (const char *name : buttons)
        before.insert(name, w.form->ctl<QWidget>(name)->isEnabled());
    w.setList("SET:AT+CSQ\nSET:AT");
    w.upgrade();
    for (const char *name : buttons)
        QVERIFY2(!w.form->ctl<QWidget>(name)->isEnabled(), name);
    w.form->RunOXAClick();
    QCOMPARE(w.port.sent, QList<QByteArray>{"AT+CSQ\r\n"});
    QCOMPARE(w.errors.messages.size(), 1);
    w.port.deliver("OK\r\n");
    w.port.deliver("OK\r\n");
    QVERIFY(!w.uploading());
    for (const char *name : buttons)
        QCOMPARE(w.form->ctl<QWidget>(name)->isEnabled(), before.value(name));
}

QTEST_MAIN(TestUploadSteps)
#include "tst_uploadui_steps.moc"
