// The monitor page and the receive side of the window: logged lines, Save Log, the receive
// indicator, and data that arrives while a handler is busy.
#include "codepagecodec.h"
#include "fakeseams.h"
#include "logclock.h"
#include "monitor.h"
#include "tform1.h"
#include "unprivileged.h"

#include <QColor>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLocale>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <optional>

using namespace oxa;

namespace {
struct Window {
    Window() : form(fakes.seams(), folder.filePath("OXAset")) { form.start(); }
    QTemporaryDir folder;
    test::FakeSeams fakes;
    TForm1 form;
};
} // namespace

class TestMonitor : public QObject {
    Q_OBJECT
private slots:
    void receivedLinesAreLoggedWithTimeStamps();
    void timeStampFollowsTheClockAcrossSeconds();
    void saveLogWritesCrLfUnderTheChosenName_data();
    void saveLogWritesCrLfUnderTheChosenName();
    void saveLogCancelledWritesNothing();
    void receiveIndicatorTogglesAndGoesDark();
    void receiveIndicatorShowsOnTheWindowBackground();
    void dataArrivingDuringAPauseIsDeliveredAfterwards();
    void monitorKeepsEveryLineOfALongLog();
    void linesReachTheViewWhenItIsOnScreen();
    void unsolicitedLinesCostNoPause();
    void aLineWithoutEndIsCutWithOneNote();
    void olderLinesMoveToAFileAndSaveLogWritesThemAll_data();
    void olderLinesMoveToAFileAndSaveLogWritesThemAll();
    void longLinesAreBoundedByTheirCharacters();
    void withoutAnyFileTheOldestLinesAreDroppedAndSaid();
    void theWindowsLogFileLiesBesideItsSettingsAndGoesWithIt();
    void savedLogIsInTheCodePage();
};

void TestMonitor::receivedLinesAreLoggedWithTimeStamps() {
    Window w;
    w.fakes.port.deliver("Tel");
    w.fakes.port.deliver("it\r\n\r#SMSATWL: 1\r\xe9\xff\x01\r");
    const QStringList lines = w.form.monitor()->lines();
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines[0].startsWith('['));
    QVERIFY(lines[0].endsWith("]   Telit"));
    QVERIFY(lines[1].endsWith("]   ")); // an empty line is its time stamp alone
    QCOMPARE(lines[2].right(2), QString::fromLatin1("\xe9\xff"));
}

void TestMonitor::timeStampFollowsTheClockAcrossSeconds() {
    qint64 msecs = 0;
    LogClock clock([&msecs] { return msecs; });
    const auto expected = [](qint64 at) {
        return QLocale::system().toString(QDateTime::fromMSecsSinceEpoch(at).time(), QLocale::LongFormat);
    };
    // Within a second, across one, and across the epoch, where a rounding division would fold two
    // seconds into one.
    for (const qint64 at : {qint64(1'700'000'000'000), qint64(1'700'000'000'999), qint64(1'700'000'001'000),
                            qint64(1'700'000'001'500), qint64(1'700'000'000'000), qint64(500), qint64(-500),
                            qint64(-1'000), qint64(-1'001)}) {
        msecs = at;
        QCOMPARE(clock.now(), expected(at));
    }
}

void TestMonitor::saveLogWritesCrLfUnderTheChosenName_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("saved");
    // A name without an extension gets the filter's, so that Load's dialog shows it.
    QTest::newRow("no extension") << "traffic"
                                  << "traffic.mon";
    QTest::newRow("an extension, as typed") << "traffic.log"
                                            << "traffic.log";
}

void TestMonitor::saveLogWritesCrLfUnderTheChosenName() {
    QFETCH(QString, chosen);
    QFETCH(QString, saved);
    Window w;
    w.fakes.port.deliver("OK\r\n+CSQ: 14,0\r\n");
    const QString path = w.folder.filePath(saved);
    w.fakes.dialogs.saveAnswers.enqueue(w.folder.filePath(chosen));
    QMetaObject::invokeMethod(w.form.findChild<QObject *>("SaveMonitor"), "click");
    QCOMPARE(w.fakes.dialogs.filters.last(), QString("Monitor files (*.mon)"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QList<QByteArray> lines = bytes.split('\n');
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines[0].endsWith("]   OK\r"));
    QVERIFY(lines[1].endsWith("]   +CSQ: 14,0\r"));
    QVERIFY(lines[2].isEmpty());
    QCOMPARE(QDir(w.folder.path()).entryList(QDir::Files), QStringList{saved});
}

void TestMonitor::saveLogCancelledWritesNothing() {
    Window w;
    QMetaObject::invokeMethod(w.form.findChild<QObject *>("SaveMonitor"), "click");
    QVERIFY(w.fakes.errors.messages.isEmpty());
    QCOMPARE(QDir(w.folder.path()).entryList(QDir::Files), QStringList{});
}

void TestMonitor::receiveIndicatorTogglesAndGoesDark() {
    Window w;
    auto *led = w.form.findChild<QWidget *>("RXDled");
    auto *timer = w.form.findChild<QTimer *>("LedTimer");
    w.fakes.port.deliver("A");
    QVERIFY(!led->isHidden());
    QVERIFY(timer->isActive());
    // As if 1.5 s had passed: the next data keeps the indicator going for 2 s from then on.
    timer->start(500);
    w.fakes.port.deliver("B");
    QVERIFY(led->isHidden()); // two notifications toggle it twice
    QVERIFY2(timer->remainingTime() > 1500, qPrintable(QString::number(timer->remainingTime())));
    w.fakes.port.deliver("C");
    QVERIFY(!led->isHidden());
    w.form.LedTimerTimer();
    QVERIFY(led->isHidden());
    QVERIFY(!timer->isActive());
}

namespace {

// Whether every pixel where the indicator lies is the background just left of it.
bool showsBackgroundAt(const QImage &image, const QRect &place) {
    const QRgb background = image.pixel(place.left() - 2, place.center().y());
    for (int y = place.top(); y <= place.bottom(); ++y)
        for (int x = place.left(); x <= place.right(); ++x)
            if (image.pixel(x, y) != background)
                return false;
    return true;
}

} // namespace

// Before any data and once it went out, nothing is to be seen where the indicator lies (neither a dark
// patch nor the last green dot); while data comes, a green dot.
void TestMonitor::receiveIndicatorShowsOnTheWindowBackground() {
    Window w;
    w.form.show();
    auto *led = w.form.findChild<QWidget *>("RXDled");
    const QRect place(led->mapTo(&w.form, QPoint(0, 0)), led->size());
    QVERIFY(showsBackgroundAt(w.form.grab().toImage(), place));

    w.fakes.port.deliver("OK\r\n");
    const QRgb lit = w.form.grab().toImage().pixel(place.center());
    QVERIFY2(qGreen(lit) > 150 && qRed(lit) < 100 && qBlue(lit) < 100, qPrintable(QColor(lit).name()));

    w.form.LedTimerTimer();
    QVERIFY(showsBackgroundAt(w.form.grab().toImage(), place));
}

void TestMonitor::dataArrivingDuringAPauseIsDeliveredAfterwards() {
    Window w;
    w.fakes.port.deliver("first\r"); // nothing runs: handled at once
    QCOMPARE(w.form.monitor()->lineCount(), 1);

    int linesDuringPause = -1;
    w.fakes.pause.during = [&] {
        w.fakes.port.deliver("second\r");
        linesDuringPause = w.form.monitor()->lineCount();
    };
    w.form.start();                // start-up pauses 200 ms between echo-off and the identification
    QCOMPARE(linesDuringPause, 1); // what arrives while the session pauses waits for the pause to end
    QTRY_COMPARE(w.form.monitor()->lineCount(), 2);
    QVERIFY(w.form.monitor()->lines().last().endsWith("second"));
}

// The log file holds the received bytes as they came; a character of the program's own messages that
// the code page cannot hold is written as its number, never as "?".
void TestMonitor::savedLogIsInTheCodePage() {
    QTemporaryDir folder;
    QPlainTextEdit view;
    Monitor monitor(&view);
    const CodePageCodec czech = *CodePageCodec::forName("windows-1250");
    monitor.setCodePage(czech);
    monitor.log(czech.decode("+CPBR: 28,\"+420731246810\",145,\"Dvo\xf8\xe1k\""));
    monitor.log(QStringLiteral("Backup in /home/Ωmega/😀 done"));
    const QString path = folder.filePath("log.mon");
    QString error;
    QVERIFY2(monitor.saveTo(path, &error), qPrintable(error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("+CPBR: 28,\"+420731246810\",145,\"Dvo\xf8\xe1k\"\r\n"
                                        "Backup in /home/<U+03A9>mega/<U+1F600> done\r\n"));
}

void TestMonitor::monitorKeepsEveryLineOfALongLog() {
    QPlainTextEdit view;
    Monitor monitor(&view);
    for (int i = 0; i < 20000; ++i)
        monitor.log(QString::number(i));
    QCOMPARE(monitor.lineCount(), 20000);
    QCOMPARE(monitor.lines().first(), QString("0"));
    QCOMPARE(monitor.lines().last(), QString("19999"));
}

// Lines wait while the monitor page is not on screen and show up as soon as it is.
void TestMonitor::linesReachTheViewWhenItIsOnScreen() {
    QPlainTextEdit view;
    Monitor monitor(&view);
    monitor.log("first");
    monitor.log("second");
    QCoreApplication::processEvents();
    QVERIFY(view.toPlainText().isEmpty());
    QCOMPARE(monitor.lineCount(), 2);
    view.show();
    QTRY_COMPARE(view.toPlainText(), QString("first\nsecond"));
    monitor.log("third");
    QTRY_COMPARE(view.toPlainText(), QString("first\nsecond\nthird"));
    QCOMPARE(monitor.lines(), (QStringList{"first", "second", "third"}));
}

// The module's network registration, repeated as a hostile unit floods it: each line is logged and
// nothing else happens; no pause holds the window, nothing goes to the unit.
void TestMonitor::unsolicitedLinesCostNoPause() {
    Window w;
    w.fakes.port.sent.clear();
    w.fakes.pause.pauses.clear();
    const qint64 before = w.form.monitor()->lineCount();
    w.fakes.port.deliver(QByteArray("+CREG: 0,1\r\n+CREG: 0,5\r\nRING\r\n").repeated(100));
    QCOMPARE(w.form.monitor()->lineCount(), before + 300);
    QCOMPARE(w.fakes.pause.pauses, QList<int>{});
    QCOMPARE(w.fakes.port.sent, QList<QByteArray>{});
    QCOMPARE(w.fakes.errors.messages, QStringList{});
}

// A unit that sends without a CR: one note, however much comes, and the line cut at 4 KB when its CR
// comes at last; the next line is whole.
void TestMonitor::aLineWithoutEndIsCutWithOneNote() {
    Window w;
    const qint64 before = w.form.monitor()->lineCount();
    for (int piece = 0; piece < 256; ++piece)
        w.fakes.port.deliver(QByteArray(4096, 'X'));
    QCOMPARE(w.form.monitor()->lineCount(), before + 1);
    QVERIFY2(w.form.monitor()->lines().last().contains("longer than 4096 bytes"),
             qPrintable(w.form.monitor()->lines().last()));
    QCOMPARE(w.form.session().partialLineSize(), 4096);
    w.fakes.port.deliver("\rOK\r");
    const QStringList lines = w.form.monitor()->lines();
    QCOMPARE(lines.size(), before + 3);
    QVERIFY(lines[lines.size() - 2].endsWith("]   " + QString(4096, 'X')));
    QVERIFY(lines.last().endsWith("]   OK"));
}

namespace {

QStringList numbered(int count, const QString &prefix = QStringLiteral("line ")) {
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << prefix + QString::number(i);
    return lines;
}

QByteArray savedBytes(const QStringList &lines) {
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toLatin1() + "\r\n";
    return bytes;
}

QByteArray readFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

} // namespace

// The log holds a bounded part of itself in memory, shown or waiting to be shown; the rest lies in a
// file of its own, from which Save Log and lines() take it back in order. The file goes with the log.
void TestMonitor::olderLinesMoveToAFileAndSaveLogWritesThemAll_data() {
    QTest::addColumn<bool>("onScreen");
    QTest::newRow("monitor page on screen") << true;
    QTest::newRow("monitor page hidden") << false;
}

void TestMonitor::olderLinesMoveToAFileAndSaveLogWritesThemAll() {
    QFETCH(bool, onScreen);
    QTemporaryDir folder;
    QPlainTextEdit view;
    if (onScreen)
        view.show();
    auto monitor = std::make_unique<Monitor>(&view);
    monitor->setLimits({100, 100000});
    monitor->setSpillTemplate(folder.filePath("OXAset.log-XXXXXX.tmp"));
    const QStringList logged = numbered(1000);
    qint64 mostHeld = 0;
    for (qsizetype i = 0; i < logged.size(); ++i) {
        monitor->log(logged[i]);
        if (i % 7 == 0)
            QCoreApplication::processEvents(); // now and then the view takes the waiting lines
        mostHeld = std::max(mostHeld, monitor->heldLineCount());
    }
    QCOMPARE(mostHeld, 100);
    QCOMPARE(monitor->lineCount(), 1000);
    QCOMPARE(monitor->lines(), logged);
    const QString spill = monitor->spillFilePath();
    QCOMPARE(QFileInfo(spill).absolutePath(), QFileInfo(folder.path()).absoluteFilePath());
    if (onScreen) {
        monitor->showPending();
        QVERIFY(view.document()->blockCount() <= 100);
        // An undo history would keep every line removed from the view.
        QVERIFY(!view.document()->isUndoRedoEnabled());
        QCOMPARE(view.document()->lastBlock().text(), logged.last());
    }

    const QString saved = folder.filePath("all.mon");
    QString error;
    QVERIFY2(monitor->saveTo(saved, &error), qPrintable(error));
    QCOMPARE(readFile(saved), savedBytes(logged));
    // Logging goes on after a save, into the same file.
    monitor->log("after");
    QCOMPARE(monitor->lines(), logged + QStringList{"after"});
    monitor.reset();
    QVERIFY(!QFile::exists(spill));
}

void TestMonitor::longLinesAreBoundedByTheirCharacters() {
    QTemporaryDir folder;
    QPlainTextEdit view;
    Monitor monitor(&view);
    monitor.setLimits({1000, 10000});
    monitor.setSpillTemplate(folder.filePath("OXAset.log-XXXXXX.tmp"));
    const QStringList logged = numbered(100, QString(995, 'x'));
    for (const QString &line : logged) {
        monitor.log(line);
        QVERIFY(monitor.heldCharacters() <= 10000);
    }
    QVERIFY(monitor.heldLineCount() < 10);
    QCOMPARE(monitor.lines(), logged);
}

// Where no file can be made, neither beside the settings nor in the temporary folder, the oldest
// lines go: memory stays bounded, the log says so once, and Save Log says how many are missing.
void TestMonitor::withoutAnyFileTheOldestLinesAreDroppedAndSaid() {
    QTemporaryDir folder;
    const QString closed = folder.filePath("closed");
    QVERIFY(QDir().mkpath(closed));
    QVERIFY(QFile::setPermissions(closed, QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                              QFileDevice::ReadOther | QFileDevice::ExeOther));
    const QByteArray tmpBefore = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(closed));
    QPlainTextEdit view;
    Monitor monitor(&view);
    monitor.setLimits({100, 100000});
    monitor.setSpillTemplate(closed + "/OXAset.log-XXXXXX.tmp");
    const QStringList logged = numbered(1000);
    std::optional<test::UnprivilegedFileAccess> access;
    access.emplace();
    // The first move finds no file: a quarter of the lines go, and the log says why, once.
    for (const QString &line : logged.mid(0, 101))
        monitor.log(line);
    QStringList lines = monitor.lines();
    QVERIFY2(lines.first().startsWith("[26 older lines of this log were dropped: "),
             qPrintable(lines.first()));
    QCOMPARE(lines.mid(1, 75), logged.mid(26, 75));
    QVERIFY2(
        lines.last().startsWith("Older lines of this log are dropped from here on: no file could keep them"),
        qPrintable(lines.last()));

    for (const QString &line : logged.mid(101))
        monitor.log(line);
    access.reset();
    qputenv("TMPDIR", tmpBefore);
    QVERIFY(monitor.heldLineCount() <= 100);
    QCOMPARE(monitor.spillFilePath(), QString());
    QCOMPARE(monitor.lineCount(), 1001); // the note counts
    lines = monitor.lines();
    QVERIFY2(lines.first().startsWith(
                 QStringLiteral("[%1 older lines of this log were dropped").arg(1001 - lines.size() + 1)),
             qPrintable(lines.first()));
    QCOMPARE(lines.mid(1), logged.mid(logged.size() - lines.size() + 1));
    const QString saved = folder.filePath("all.mon");
    QString error;
    QVERIFY2(monitor.saveTo(saved, &error), qPrintable(error));
    QCOMPARE(readFile(saved), savedBytes(lines));
}

void TestMonitor::theWindowsLogFileLiesBesideItsSettingsAndGoesWithIt() {
    QString spill;
    {
        Window w;
        w.form.monitor()->setLimits({100, 100000});
        w.fakes.port.deliver(QByteArray("RING\r\n").repeated(1000));
        QCOMPARE(w.form.monitor()->lineCount(), 1000);
        spill = w.form.monitor()->spillFilePath();
        QCOMPARE(QFileInfo(spill).absolutePath(), QFileInfo(w.form.settingsPath()).absolutePath());
        QVERIFY2(QFileInfo(spill).fileName().startsWith("OXAset.log-"), qPrintable(spill));
        QVERIFY(QFile::exists(spill));
    }
    QVERIFY(!QFile::exists(spill));
}

QTEST_MAIN(TestMonitor)
#include "tst_monitor.moc"
