// Whole uploads into the simulated unit through the window's own serial line and receive parser, on
// the unit's virtual clock at the line rate: every file must arrive in the module byte for byte.
#include "fakeseams.h"
#include "monitor.h"
#include "serialline.h"
#include "simulatedport.h"
#include "tform1.h"
#include "uploadfixture.h"

#include <QTest>

using namespace oxa;
using namespace oxa::sim;

namespace {

// The window on a SerialLine whose port choice picks the simulated unit. The unit's clock moves only
// in the window's pauses and in settle(), so a long upload costs no real time.
struct SimWindow {
    SimWindow() {
        previousFolder = QDir::currentPath();
        QDir::setCurrent(folder.path());
        UnitOptions options;
        options.startRunning = false;
        options.timing = Timing::instant();
        options.timing.lineBitsPerSecond = 115200;
        host = std::make_shared<UnitHost>(options, std::make_unique<ManualClock>());
        line = std::make_unique<SerialLine>([](const QList<PortEntry> &, const QString &) {
            return std::optional<QString>(QString::fromLatin1(SimulatedPortName));
        });
        line->setPortLister([] { return QList<PortEntry>{}; });
        line->addExtraPort({SimulatedPortName, {}},
                           [this](const QString &) { return std::make_unique<SimulatedPort>(host); });
        pause.during = [this] { host->advance(pause.pauses.last()); };
        form =
            std::make_unique<TForm1>(Seams{line.get(), &pause, &errors, &dialogs}, folder.filePath("OXAset"));
        form->start();
        settle([] { return false; }, 2000); // start-up's identification and operator name
    }
    ~SimWindow() { QDir::setCurrent(previousFolder); }

    // Turns the event loop and moves the unit's clock in 10 ms steps until `done` or the budget ends.
    bool settle(const std::function<bool()> &done, qint64 budgetMs) {
        for (qint64 t = 0; t <= budgetMs; t += 10) {
            QCoreApplication::processEvents();
            if (done())
                return true;
            host->advance(10);
        }
        return false;
    }
    // Presses Upgrade and lets the upload run to its end (or its stop).
    bool upload(const QString &list, qint64 budgetMs = 120000) {
        form->ctl<QPlainTextEdit>("List")->setPlainText(list);
        QMetaObject::invokeMethod(form->control("Upgrade"), "click");
        return settle([this] { return !form->session().uploadStepWaiting() && !form->handlerRunning(); },
                      budgetMs);
    }
    void writeFile(const QString &name, const QByteArray &bytes) {
        QFile file(folder.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }
    std::optional<QByteArray> moduleFile(const QByteArray &name) { return host->unit().files().file(name); }
    int monitorCount(const QString &text) const { return int(form->monitor()->lines().count(text)); }

    QTemporaryDir folder;
    QString previousFolder;
    std::shared_ptr<UnitHost> host;
    std::unique_ptr<SerialLine> line;
    test::RecordingPause pause;
    test::RecordingErrors errors;
    test::ScriptedDialogs dialogs;
    std::unique_ptr<TForm1> form;
};

} // namespace

class TestUploadSim : public QObject {
    Q_OBJECT
private slots:
    void everyKindOfStepRunsToTheEnd();
    void fileArrivesWhole_data();
    void fileArrivesWhole();
    void refusedStepStopsMidList();
};

void TestUploadSim::everyKindOfStepRunsToTheEnd() {
    SimWindow w;
    const QByteArray script = "import MDM\r\nMDM.send('AT\\r')\n";
    const QByteArray everyByte = test::patternBytes(4096); // all 256 values, CR, LF and 0 among them
    const QByteArray voice = test::patternBytes(70000);
    w.writeFile("main.pyo", script);
    w.writeFile("table.bin", everyByte);
    w.writeFile("ring.amr", voice);
    QVERIFY(w.host->unit().files().store("old.pyo", "print 0\n"));

    QVERIFY(w.upload("DEL:old.pyo\nmain.pyo\ntable.bin\nASEND:ring.amr\nSET:AT+CSQ\nRUN:main.pyo\n"));
    QVERIFY2(w.errors.messages.isEmpty(), qPrintable(w.errors.messages.join('\n')));
    QVERIFY(!w.moduleFile("old.pyo"));
    QCOMPARE(w.moduleFile("main.pyo"), std::optional<QByteArray>(script));
    QCOMPARE(w.moduleFile("table.bin"), std::optional<QByteArray>(everyByte));
    QCOMPARE(w.moduleFile("ring.amr"), std::optional<QByteArray>(voice));
    QCOMPARE(w.host->unit().files().startScript(), QByteArray("main.pyo"));
    QCOMPARE(w.form->session().uploadIndex(), 6);
    QVERIFY(!w.form->session().asendPending());
    QVERIFY(!w.form->ctl<QWidget>("Prubeh")->isHidden());

    const QStringList lines = w.form->monitor()->lines();
    for (const QString &command :
         {QString("AT#DSCRIPT=old.pyo"), "AT#WSCRIPT=main.pyo," + QString::number(script.size()),
          QString("AT#WSCRIPT=table.bin,4096"), QString("AT#ASEND=ring.amr,70000"), QString("AT+CSQ"),
          QString("AT#ESCRIPT=main.pyo")})
        QVERIFY2(lines.contains(command), qPrintable(command));
    QCOMPARE(w.monitorCount("+++++++++++++++"), 3);
    QCOMPARE(w.monitorCount("flush buffer"), 1);
    QVERIFY(w.monitorCount("sending") >= 1);
}

void TestUploadSim::fileArrivesWhole_data() {
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<int>("size");
    QTest::newRow("64000, plain file") << "" << 64000;
    QTest::newRow("64001, plain file") << "" << 64001;
    QTest::newRow("64001, ASEND") << "ASEND:" << 64001;
    QTest::newRow("128001, plain file") << "" << 128001;
    QTest::newRow("300000, ASEND") << "ASEND:" << 300000;
}

void TestUploadSim::fileArrivesWhole() {
    QFETCH(QString, prefix);
    QFETCH(int, size);
    SimWindow w;
    const QByteArray data = test::patternBytes(size);
    w.writeFile("voice.amr", data);
    QVERIFY(w.upload(prefix + "voice.amr\nSET:AT"));
    QVERIFY2(w.errors.messages.isEmpty(), qPrintable(w.errors.messages.join('\n')));
    const std::optional<QByteArray> stored = w.moduleFile("voice.amr");
    QVERIFY(stored);
    QCOMPARE(stored->size(), data.size());
    QVERIFY(*stored == data);
    QCOMPARE(w.form->session().uploadIndex(), 2); // both lines done
    QCOMPARE(w.monitorCount("flush buffer"), (size - 1) / 64000);
}

void TestUploadSim::refusedStepStopsMidList() {
    SimWindow w;
    w.writeFile("main.pyo", "print 1\n");
    // The module has no file "nothere.pyo" to delete and answers ERROR.
    QVERIFY(w.upload("main.pyo\nDEL:nothere.pyo\nRUN:main.pyo\n"));
    QCOMPARE(w.errors.messages.size(), 1);
    QVERIFY2(w.errors.messages[0].contains("line 2") && w.errors.messages[0].contains("DEL:nothere.pyo"),
             qPrintable(w.errors.messages[0]));
    QCOMPARE(w.moduleFile("main.pyo"), std::optional<QByteArray>("print 1\n"));
    QVERIFY(w.host->unit().files().startScript() != "main.pyo"); // line 3 never ran
    QVERIFY(!w.form->monitor()->lines().contains("AT#ESCRIPT=main.pyo"));
    QVERIFY(w.form->ctl<QWidget>("Prubeh")->isHidden());
}

QTEST_MAIN(TestUploadSim)
#include "tst_uploadui_sim.moc"
