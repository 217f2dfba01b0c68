// The serial line: port choice on first use, a bounded output queue, DTR, a lost port, and one run
// over a real pseudo-terminal with Qt SerialPort.
#include "fakeseams.h"
#include "monitor.h"
#include "portfailure.h"
#include "qtserialbackend.h"
#include "serialline.h"
#include "tform1.h"

#include <QFile>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>
#endif

using namespace oxa;

namespace {

// A line whose bytes stay queued until the test lets them out.
class FakeBackend : public PortBackend {
    Q_OBJECT
public:
    bool open(QString *error) override {
        if (failOpen) {
            *error = QStringLiteral("Device or resource busy");
            return false;
        }
        opened = true;
        return true;
    }
    void close() override { opened = false; }
    bool isOpen() const override { return opened; }
    void write(const QByteArray &bytes) override { pending += bytes; }
    QByteArray readAll() override { return std::exchange(incoming, {}); }
    qint64 bytesToWrite() const override { return pending.size(); }
    bool setDtr(bool raised) override {
        dtr = raised;
        return dtrWorks;
    }
    void drain() {
        written += pending;
        pending.clear();
    }
    void receive(const QByteArray &bytes) {
        incoming += bytes;
        emit readyRead();
    }
    bool opened = false, failOpen = false, dtr = false, dtrWorks = true;
    QByteArray pending, written, incoming;
};

struct Line {
    Line()
        : line([this](const QList<PortEntry> &ports, const QString &preselect) {
              ++asked;
              offered = ports;
              offeredPreselect = preselect;
              return answer;
          }) {
        line.setPortLister([] { return QList<PortEntry>{{"/dev/ttyUSB0", "USB serial adapter"}}; });
        line.setBackendFactory([this](const QString &name) {
            openedName = name;
            auto backend = std::make_unique<FakeBackend>();
            backend->failOpen = failOpen;
            lastBackend = backend.get();
            return backend;
        });
    }
    std::optional<QString> answer = QStringLiteral("/dev/ttyUSB0");
    int asked = 0;
    bool failOpen = false;
    QList<PortEntry> offered;
    QString offeredPreselect, openedName;
    FakeBackend *lastBackend = nullptr;
    SerialLine line;
};

} // namespace

class TestSerialLine : public QObject {
    Q_OBJECT
private slots:
    void firstSendAsksForThePortOnce();
    void cancelledOrFailedOpenSendsNothing_data();
    void cancelledOrFailedOpenSendsNothing();
    void textLargerThanFreeSpaceIsRefusedWhole();
    void dtrIsRememberedAndAPortWithoutDtrIsNotedOnce();
    void extraPortsAreListedAfterRealOnes();
    void lostPortIsReportedAndAskedAgain();
    void receivedBytesAreReadOneByOne();
    void startupBytesReachARealPseudoTerminal();
    void realPortsThatCannotBeOpenedSayWhy_data();
    void realPortsThatCannotBeOpenedSayWhy();
    void openingFailureReasons_data();
    void openingFailureReasons();
};

void TestSerialLine::firstSendAsksForThePortOnce() {
    Line l;
    l.line.setPreferredPort("3");
    QCOMPARE(l.line.portNumber(), 0);
    QCOMPARE(l.line.freeOutputSpace(), PortLayer::OutputQueueSize);
    l.line.send("ATE0\r\n");
    l.line.send("AT+CGMI\r\n");
    QCOMPARE(l.asked, 1);
    QCOMPARE(l.offeredPreselect, QString("3"));
    QCOMPARE(l.offered.first().description, QString("USB serial adapter"));
    QCOMPARE(l.openedName, QString("/dev/ttyUSB0"));
    QVERIFY(l.line.portNumber() != 0);
    QCOMPARE(l.lastBackend->pending, QByteArray("ATE0\r\nAT+CGMI\r\n"));
    QVERIFY(!l.lastBackend->dtr);
}

void TestSerialLine::cancelledOrFailedOpenSendsNothing_data() {
    QTest::addColumn<bool>("cancel");
    QTest::newRow("cancelled") << true;
    QTest::newRow("cannot open") << false;
}

void TestSerialLine::cancelledOrFailedOpenSendsNothing() {
    QFETCH(bool, cancel);
    Line l;
    if (cancel)
        l.answer = std::nullopt;
    l.failOpen = !cancel;
    QVERIFY_THROWS_EXCEPTION(PortError, l.line.send("ATE0\r\n"));
    QCOMPARE(l.line.portNumber(), 0);
    QVERIFY_THROWS_EXCEPTION(PortError, l.line.send("ATE0\r\n"));
    QCOMPARE(l.asked, 2); // each send asks again
    l.answer = QStringLiteral("/dev/ttyUSB0");
    l.failOpen = false;
    l.line.send("AT\r\n");
    QCOMPARE(l.lastBackend->pending, QByteArray("AT\r\n"));
}

void TestSerialLine::textLargerThanFreeSpaceIsRefusedWhole() {
    Line l;
    l.line.send(QByteArray(63990, 'a'));
    QCOMPARE(l.line.freeOutputSpace(), 10);
    try {
        l.line.send(QByteArray(11, 'b'));
        QFAIL("an over-long text was accepted");
    } catch (const PortError &error) {
        QVERIFY(error.text().contains("11"));
    }
    QCOMPARE(l.lastBackend->pending.size(), 63990);
    l.line.send(QByteArray(10, 'c'));
    QCOMPARE(l.line.freeOutputSpace(), 0);
    l.lastBackend->drain();
    QCOMPARE(l.line.freeOutputSpace(), PortLayer::OutputQueueSize);
    l.line.send(QByteArray(PortLayer::OutputQueueSize, 'd'));
}

void TestSerialLine::dtrIsRememberedAndAPortWithoutDtrIsNotedOnce() {
    Line l;
    QSignalSpy notices(&l.line, &PortLayer::notice);
    l.line.send("AT\r\n");
    l.lastBackend->dtrWorks = false;
    l.line.setDtr(true);
    QVERIFY(l.line.dtr());
    l.line.setDtr(false);
    QVERIFY(!l.line.dtr());
    l.line.setDtr(true);
    QCOMPARE(notices.size(), 1);
}

void TestSerialLine::extraPortsAreListedAfterRealOnes() {
    Line l;
    FakeBackend *simulated = nullptr;
    l.line.addExtraPort({"Simulated unit", "in-process"}, [&simulated](const QString &) {
        auto backend = std::make_unique<FakeBackend>();
        simulated = backend.get();
        return backend;
    });
    l.answer = QStringLiteral("Simulated unit");
    l.line.send("AT\r\n");
    QCOMPARE(l.offered.size(), 2);
    QCOMPARE(l.offered.last().name, QString("Simulated unit"));
    QVERIFY(simulated);
    QCOMPARE(simulated->pending, QByteArray("AT\r\n"));
    QVERIFY(l.openedName.isEmpty());
}

void TestSerialLine::lostPortIsReportedAndAskedAgain() {
    Line l;
    QSignalSpy lost(&l.line, &PortLayer::lost);
    l.line.send("AT\r\n");
    emit l.lastBackend->failed("No such device");
    QCOMPARE(lost.size(), 1);
    QCOMPARE(l.line.portNumber(), 0);
    QCOMPARE(l.line.freeOutputSpace(), PortLayer::OutputQueueSize);
    l.line.send("AT\r\n");
    QCOMPARE(l.asked, 2);
    QCoreApplication::processEvents(); // the dead backend goes away without harm
}

void TestSerialLine::receivedBytesAreReadOneByOne() {
    Line l;
    QSignalSpy available(&l.line, &PortLayer::dataAvailable);
    l.line.send("AT\r\n");
    l.lastBackend->receive("OK\r");
    l.lastBackend->receive("\n\xff");
    QCOMPARE(available.size(), 2);
    QCOMPARE(available.last().first().toInt(), 5);
    QByteArray read;
    while (l.line.bytesAvailable() > 0)
        read += l.line.readChar();
    QCOMPARE(read, QByteArray("OK\r\n\xff"));
}

void TestSerialLine::startupBytesReachARealPseudoTerminal() {
#ifndef Q_OS_UNIX
    QSKIP("pseudo-terminals are a POSIX test tool");
#else
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    QVERIFY(master >= 0);
    QVERIFY(grantpt(master) == 0 && unlockpt(master) == 0);
    const QString slavePath = QString::fromLocal8Bit(ptsname(master));
    // Keep the slave open and raw, so nothing is echoed or translated on the way.
    const int slave = ::open(ptsname(master), O_RDWR | O_NOCTTY);
    QVERIFY(slave >= 0);
    termios raw{};
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);

    QTemporaryDir folder;
    test::RecordingPause pause;
    test::RecordingErrors errors;
    test::ScriptedDialogs dialogs;
    dialogs.portAnswers.enqueue(slavePath);
    SerialLine line([&dialogs](const QList<PortEntry> &ports, const QString &preselect) {
        return dialogs.choosePort(ports, preselect);
    });
    TForm1 form({&line, &pause, &errors, &dialogs}, folder.filePath("OXAset"));
    form.start();
    QVERIFY2(errors.messages.isEmpty(), qPrintable(errors.messages.join('\n')));

    QByteArray arrived;
    QTRY_VERIFY_WITH_TIMEOUT(([&] {
                                 pollfd fd{master, POLLIN, 0};
                                 while (::poll(&fd, 1, 0) > 0 && (fd.revents & POLLIN)) {
                                     char buffer[256];
                                     const auto n = ::read(master, buffer, sizeof buffer);
                                     if (n <= 0)
                                         break;
                                     arrived.append(buffer, n);
                                 }
                                 return arrived == "ATE0\r\nAT+CGMI\r\n";
                             }()),
                             5000);

    // And the other way: a reply from the unit ends up on the monitor.
    const QByteArray reply = "Telit\r\n";
    QCOMPARE(::write(master, reply.constData(), reply.size()), reply.size());
    QTRY_VERIFY_WITH_TIMEOUT(form.monitor()->lines().join('\n').contains("Telit"), 5000);
    form.close();
    ::close(slave);
    ::close(master);
#endif
}

// Opening through Qt SerialPort: each way a chosen port cannot be opened gives its own reason, never
// "No error".
void TestSerialLine::realPortsThatCannotBeOpenedSayWhy_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("says");
    QTest::newRow("no such path") << "missing" << QStringList{"there is no such device", "/missing-port"};
    QTest::newRow("a name that is no path")
        << "relative" << QStringList{"there is no such device (/dev/oxa-no-such-port:", "looked for in /dev"};
    QTest::newRow("a regular file") << "file" << QStringList{"is not a serial port"};
    QTest::newRow("a device that is no serial port")
        << "/dev/null" << QStringList{"/dev/null is not a serial port"};
#ifdef Q_OS_UNIX
    QTest::newRow("held by another program") << "busy" << QStringList{"is in use by another program"};
#endif
}

void TestSerialLine::realPortsThatCannotBeOpenedSayWhy() {
    QFETCH(QString, kind);
    QFETCH(QStringList, says);
    QTemporaryDir folder;
    QString name = kind;
    QSerialPort holder;
    int master = -1;
    if (kind == "missing") {
        name = folder.filePath("missing-port");
    } else if (kind == "relative") {
        name = "oxa-no-such-port";
    } else if (kind == "file") {
        name = folder.filePath("port");
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (kind == "busy") {
#ifdef Q_OS_UNIX
        master = posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0);
        name = QString::fromLocal8Bit(ptsname(master));
        holder.setPortName(name);
        QVERIFY2(holder.open(QIODevice::ReadWrite), qPrintable(holder.errorString()));
#endif
    }
    SerialLine line(
        [&name](const QList<PortEntry> &, const QString &) { return std::optional<QString>(name); });
    QString message;
    try {
        line.send("AT\r\n");
    } catch (const PortError &error) {
        message = error.text();
    }
    holder.close();
#ifdef Q_OS_UNIX
    if (master >= 0)
        ::close(master);
#endif
    QVERIFY2(message.startsWith(QStringLiteral("The serial port %1 cannot be opened: ").arg(name)),
             qPrintable(message));
    for (const QString &part : says)
        QVERIFY2(message.contains(part), qPrintable(message));
    QVERIFY2(!message.contains("No error") && !message.contains("Unknown error"), qPrintable(message));
}

// The words for each case, from what the system said of the device.
void TestSerialLine::openingFailureReasons_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<PortFacts>("facts");
    QTest::addColumn<int>("error");
    QTest::addColumn<QStringList>("says");
    const auto facts = [](QString location, bool exists, bool serial, bool permitted, QString group) {
        return PortFacts{std::move(location), exists, serial, permitted, std::move(group)};
    };
    QTest::newRow("permission, a group may use it")
        << "/dev/ttyUSB0" << facts("/dev/ttyUSB0", true, true, false, "dialout")
        << int(PortOpenError::Permission)
        << QStringList{"permission denied", "group \"dialout\"", "sudo usermod -aG dialout $USER",
                       "log out and in again"};
    QTest::newRow("permission, another group")
        << "ttyACM0" << facts("/dev/ttyACM0", true, true, false, "uucp") << int(PortOpenError::Permission)
        << QStringList{"group \"uucp\" may use /dev/ttyACM0", "sudo usermod -aG uucp $USER"};
    QTest::newRow("permission, no group may use it")
        << "/dev/ttyS0" << facts("/dev/ttyS0", true, true, false, QString()) << int(PortOpenError::Permission)
        << QStringList{"permission denied", "administrator"};
    QTest::newRow("locked by another program")
        << "/dev/ttyUSB0" << facts("/dev/ttyUSB0", true, true, true, "dialout")
        << int(PortOpenError::Permission) << QStringList{"/dev/ttyUSB0 is in use by another program"};
    QTest::newRow("gone while opening")
        << "/dev/ttyUSB0" << facts("/dev/ttyUSB0", true, true, true, "dialout")
        << int(PortOpenError::NotFound) << QStringList{"/dev/ttyUSB0 is gone (unplugged"};
    QTest::newRow("anything else: the system's words")
        << "/dev/ttyUSB0" << facts("/dev/ttyUSB0", true, true, true, "dialout") << int(PortOpenError::Other)
        << QStringList{"Input/output error"};
}

void TestSerialLine::openingFailureReasons() {
    QFETCH(QString, name);
    QFETCH(PortFacts, facts);
    QFETCH(int, error);
    QFETCH(QStringList, says);
    const QString reason = describePortOpenFailure(name, facts, PortOpenError(error), "Input/output error");
    for (const QString &part : says)
        QVERIFY2(reason.contains(part), qPrintable(reason));
}

QTEST_MAIN(TestSerialLine)
#include "tst_serialline.moc"
