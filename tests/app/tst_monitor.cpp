// The monitor page and the receive side of the window: logged lines, Save Log, the receive
// indicator, and data that arrives while a handler is busy.
#include "codepagecodec.h"
#include "fakeseams.h"
#include "logclock.h"
#include "monitor.h"
#include "tform1.h"

#include <QColor>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLocale>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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
    w.form.start(); // start-up pauses 200 ms inside its handler
    QCOMPARE(linesDuringPause, 1);
    QCOMPARE(w.form.monitor()->lineCount(), 1); // not re-entrantly, not before the handler ended
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

QTEST_MAIN(TestMonitor)
#include "tst_monitor.moc"
