// The session with the unit, without a window, against the in-process simulated unit: the stop handshake
// of both module variants, the whole read, the whole write with its read-back, a single-entry change
// with its re-read, the detect switch, an upload, and the faults of the line and the unit.
#include "commands.h"
#include "devicecommands.h"
#include "sessionbench.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace oxa;
using namespace oxa::test;

namespace {

using Entries = QList<std::pair<QByteArray, QByteArray>>;

sim::UnitOptions optionsWith(const Entries &entries, int size = 40,
                             sim::Variant variant = sim::Variant::Classic) {
    sim::UnitOptions options = SessionBench::defaultOptions();
    QList<sim::IndexedEntry> content;
    int index = 1;
    for (const auto &[name, number] : entries)
        content.append({index++, sim::SimEntry{number, name}});
    options.simContent = content;
    options.simSize = size;
    options.variant = variant;
    return options;
}

const Entries SmallSim = {{"ADMIN1", "+420600111222"},
                          {"ABUTTON1", "601"},
                          {"PAROXA", "5#3#1#0#1#7#2#1"},
                          {"M12-1", "555"},
                          {"C246C", "1#0"},
                          {"DETECT", "1"},
                          {"Novak", "+420777000111"},
                          {"VER", "2.41"}};

Entries simEntries(SessionBench &bench) {
    Entries entries;
    for (const sim::IndexedEntry &e : bench.unit().sim().usedEntries())
        entries.append({e.entry.name, e.entry.number});
    return entries;
}

QList<WriteRow> rowsOf(const UnitConfiguration &configuration) {
    QList<WriteRow> rows;
    for (const PhoneBookRow &row : configuration.rows())
        rows.append({row.name, row.phone});
    return rows;
}

} // namespace

class TestEngineSession : public QObject {
    Q_OBJECT
private slots:
    void stopHandshakeReadsTheUnit_data();
    void stopHandshakeReadsTheUnit();
    void wholeWriteIsReadBack();
    void singleChangeIsReadAgain();
    void detectSwitch();
    void uploadRunsEveryStep();
    void faultsEndWithOneMessage_data();
    void faultsEndWithOneMessage();
    void pausesAreStatesNotWaits();
};

void TestEngineSession::stopHandshakeReadsTheUnit_data() {
    QTest::addColumn<int>("variant");
    QTest::newRow("classic: STOP, echo off, [AT#SLED=1]=") << int(sim::Variant::Classic);
    QTest::newRow("LTE: #APLAYEV:, echo off, OK") << int(sim::Variant::Lte);
}

void TestEngineSession::stopHandshakeReadsTheUnit() {
    QFETCH(int, variant);
    SessionBench bench(optionsWith(SmallSim, 40, sim::Variant(variant)));
    QVERIFY(bench.startAndStop());
    QCOMPARE(bench.session.mode(), UnitMode::Programming);
    QCOMPARE(bench.session.lteModule(), variant == int(sim::Variant::Lte));
    const UnitConfiguration &read = bench.configuration;
    QCOMPARE(read.keyValue(0), QByteArray("+420600111222"));
    QCOMPARE(read.strings().paroxa, QByteArray("5#3#1#0#1#7#2#1"));
    QCOMPARE(read.rows().size(), 4); // M12-1, C246C, DETECT, Novak
    QCOMPARE(read.detectEntry(), QByteArray("6:DETECT[1]"));
    QCOMPARE(read.version(), QByteArray("2.41"));
    QVERIFY(read.listingStale().isEmpty());
    QCOMPARE(bench.outcomes, QStringList{"Read 8 entries"});
    QVERIFY2(bench.failures.isEmpty(), qPrintable(bench.failures.join('\n')));

    // Load in programming mode reads again.
    bench.session.read();
    QVERIFY(bench.settle([&] { return read.listingsApplied() == 2 && !bench.session.reading(); }));
}

void TestEngineSession::wholeWriteIsReadBack() {
    SessionBench bench(optionsWith(SmallSim, 40));
    QVERIFY(bench.startAndStop());
    bench.configuration.setKeyValue(1, "+420600333444"); // ADMIN2
    bench.session.writeWhole(bench.configuration.writeKeyValues(), rowsOf(bench.configuration));
    QVERIFY(bench.session.writing());
    QVERIFY(bench.settle([&] { return !bench.session.writing() && !bench.session.reading(); }));
    QVERIFY2(bench.failures.isEmpty(), qPrintable(bench.failures.join('\n')));
    const Entries after = simEntries(bench);
    QCOMPARE(after.at(1), (std::pair<QByteArray, QByteArray>{"ADMIN2", "+420600333444"}));
    QVERIFY(!after.contains({"VER", "2.41"})); // read-only: not written back
    // Eight entries were read; VER is not written back, ADMIN2 is new.
    QCOMPARE(bench.outcomes.last(), QString("Written and read back: 8 entries"));
    // The unit's configuration from before the write is kept.
    QVERIFY(QFile::exists(bench.session.lastBackup()));
    // One pause of 200 ms before each step after the opening "AT": 27 keys, 4 rows, 9 emptied indexes.
    QCOMPARE(bench.pauses.pauses.count(200) >= 40, true);
}

void TestEngineSession::singleChangeIsReadAgain() {
    SessionBench bench(optionsWith(SmallSim, 40));
    QVERIFY(bench.startAndStop());
    const int listings = bench.configuration.listingsApplied();
    // A new memory: no index; the unit takes the first free one.
    bench.session.writeEntry(createMemoryCommand(MemoryKind::Keyboard, "777", "12", "2"), std::nullopt);
    QVERIFY(bench.settle([&] { return bench.configuration.listingsApplied() > listings; }));
    QVERIFY(simEntries(bench).contains({"M12-2", "777"}));
    // A rewrite of the listed M12-1 goes to its index.
    bench.session.writeEntry(rewriteMemoryCommand(MemoryKind::Keyboard, "4", "888", "12", "1"),
                             "4:M12-1[555]");
    QVERIFY(bench.settle([&] { return bench.configuration.listingsApplied() > listings + 1; }));
    QCOMPARE(bench.unit().sim().entry(4)->number, QByteArray("888"));
    // Deleting by a node the listing no longer holds sends nothing.
    bench.session.deleteEntry(QByteArray("4:M12-1[555]"));
    bench.settle();
    QCOMPARE(bench.unit().sim().entry(4)->number, QByteArray("888"));
    QCOMPARE(bench.failures.size(), 1);
}

void TestEngineSession::detectSwitch() {
    SessionBench bench(optionsWith(SmallSim, 40));
    QVERIFY(bench.startAndStop());
    QVERIFY(bench.session.switchDetect(false));
    QVERIFY(
        bench.settle([&] { return bench.configuration.listingsApplied() == 2 && !bench.session.reading(); }));
    QVERIFY(!simEntries(bench).contains({"DETECT", "1"}));
    QVERIFY(bench.configuration.detectEntry().isEmpty());
    QVERIFY(bench.session.switchDetect(true));
    QVERIFY(
        bench.settle([&] { return bench.configuration.listingsApplied() == 3 && !bench.session.reading(); }));
    QVERIFY(simEntries(bench).contains({"DETECT", "1"}));
    QVERIFY(!bench.configuration.detectEntry().isEmpty());
    QVERIFY2(bench.failures.isEmpty(), qPrintable(bench.failures.join('\n')));
}

void TestEngineSession::uploadRunsEveryStep() {
    SessionBench bench(optionsWith(SmallSim, 40));
    QVERIFY(bench.startAndStop());
    QFile script(bench.folder.filePath("oxa.pyo"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    const QByteArray bytes = QByteArray("print 1\r\n").repeated(9000); // two pieces
    script.write(bytes);
    script.close();
    bench.session.upload({"DEL:oxa.pyo", "oxa.pyo", "RUN:oxa.pyo", "SET:AT"}, bench.folder.path());
    QVERIFY(bench.session.uploading());
    QVERIFY(bench.settle([&] { return !bench.session.uploading(); }));
    QVERIFY2(bench.failures.isEmpty(), qPrintable(bench.failures.join('\n')));
    QCOMPARE(bench.unit().files().file("oxa.pyo"), bytes);
    QCOMPARE(bench.outcomes.last(), QString("Upload finished: 4 steps"));
}

void TestEngineSession::faultsEndWithOneMessage_data() {
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("said");
    QTest::newRow("ERROR") << int(sim::Fault::Kind::Error) << 1 << "ERROR";
    QTest::newRow("+CME ERROR") << int(sim::Fault::Kind::CmeError) << 1 << "+CME ERROR: 21";
    QTest::newRow("silence") << int(sim::Fault::Kind::Silent) << 1000 << "did not answer";
    QTest::newRow("lost line") << int(sim::Fault::Kind::HangUp) << 1 << "stopped working";
}

// A fault at the write's third index: one message naming the entry, nothing left waiting, and the
// configuration as it was for a retry once the unit answers again.
void TestEngineSession::faultsEndWithOneMessage() {
    QFETCH(int, fault);
    QFETCH(int, count);
    QFETCH(QString, said);
    SessionBench bench(optionsWith(SmallSim, 40));
    bench.session.writeTimeout()->setInterval(1);
    QVERIFY(bench.startAndStop());
    bench.session.writeWhole(bench.configuration.writeKeyValues(), rowsOf(bench.configuration));
    QVERIFY(bench.settle([&] {
        return bench.unit().sim().entry(2).has_value() && bench.unit().sim().entry(2)->name == "ABUTTON1";
    }));
    bench.host->injectFault({sim::Fault::Kind(fault), count, 21});
    QVERIFY(bench.settle([&] { return !bench.session.writing(); }));
    bench.settle();
    QCOMPARE(bench.failures.size(), 1);
    QVERIFY2(bench.failures.first().contains(said), qPrintable(bench.failures.first()));
    QVERIFY(bench.session.whyBusy() == std::nullopt);
    QCOMPARE(bench.configuration.keyValue(0), QByteArray("+420600111222"));
}

// While the session pauses, what the unit sends waits, and so does an operation asked for; the window's
// event loop is not held.
void TestEngineSession::pausesAreStatesNotWaits() {
    class HeldPauses : public PauseTimer {
    public:
        void after(int milliseconds, std::function<void()> then) override {
            held.append({milliseconds, std::move(then)});
        }
        QList<std::pair<int, std::function<void()>>> held;
    } held;
    sim::UnitOptions options = optionsWith(SmallSim, 40);
    options.startRunning = false;
    auto host = sim::UnitHost::forTests(options);
    SerialLine line([](const QList<PortEntry> &, const QString &) {
        return QString::fromLatin1(sim::SimulatedPortName);
    });
    line.setPortLister([] { return QList<PortEntry>{}; });
    std::shared_ptr<sim::UnitHost> shared = std::move(host);
    line.addExtraPort({sim::SimulatedPortName, {}},
                      [shared](const QString &) { return std::make_unique<sim::SimulatedPort>(shared); });
    UnitConfiguration configuration;
    ScriptedQuestions questions;
    UnitSession session(line, configuration, held, questions);
    QList<QByteArray> heard;
    connect(&session, &UnitSession::lineReceived, [&heard](const QByteArray &l) { heard << l; });
    const auto turn = [&shared] {
        for (int i = 0; i < 1000; ++i) {
            QCoreApplication::processEvents();
            shared->runDue();
        }
    };
    QVERIFY(session.start());
    QCOMPARE(held.held.size(), 1);
    QCOMPARE(held.held.first().first, 200);
    // The unit answers the echo-off meanwhile; an operation asked for waits with it.
    turn();
    session.askSignal();
    turn();
    QVERIFY(!heard.contains("Telit"));
    QVERIFY(
        std::none_of(heard.cbegin(), heard.cend(), [](const QByteArray &l) { return l.startsWith("+CSQ"); }));
    // The pause ends: the identification goes out, then the signal query asked for meanwhile.
    held.held.takeFirst().second();
    turn();
    const qsizetype telit = heard.indexOf("Telit");
    const auto csq =
        std::find_if(heard.cbegin(), heard.cend(), [](const QByteArray &l) { return l.startsWith("+CSQ"); });
    QVERIFY(telit >= 0 && csq != heard.cend());
    QVERIFY(telit < csq - heard.cbegin());
    QCOMPARE(session.mode(), UnitMode::Programming);
}

QTEST_GUILESS_MAIN(TestEngineSession)
#include "tst_engine_session.moc"
