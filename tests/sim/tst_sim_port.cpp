#include "serialline.h"
#include "simulatedport.h"

#include <QSignalSpy>
#include <QTest>

using namespace oxa;
using namespace oxa::sim;

// The simulated unit behind the program's own serial line, as integration tests and the port choice
// use it.
class TestSimPort : public QObject {
    Q_OBJECT

    static std::shared_ptr<UnitHost> testHost(bool running = false, int size = 250, bool fullSim = false) {
        UnitOptions options;
        options.startRunning = running;
        options.simSize = size;
        if (fullSim) {
            QList<IndexedEntry> content;
            for (int i = 1; i <= size; ++i)
                content.append({i, {QByteArray::number(600000000 + i), "Row " + QByteArray::number(i), 129}});
            options.simContent = content;
        }
        return UnitHost::forTests(options);
    }

    // A serial line whose port choice picks the simulated unit, like a user without hardware.
    static std::unique_ptr<SerialLine> lineTo(std::shared_ptr<UnitHost> host) {
        auto line = std::make_unique<SerialLine>(
            [](const QList<PortEntry> &ports, const QString &) -> std::optional<QString> {
                return ports.isEmpty() ? std::nullopt : std::optional<QString>(ports.last().name);
            });
        line->setPortLister([] { return QList<PortEntry>{}; });
        line->addExtraPort(PortEntry{SimulatedPortName, "the unit simulated in the program"},
                           [host](const QString &) { return std::make_unique<SimulatedPort>(host); });
        return line;
    }

    // Reads what the line has received until `end` arrives (the event loop runs meanwhile).
    static QByteArray readUntil(SerialLine &line, const QByteArray &end) {
        QByteArray text;
        for (int turn = 0; turn < 10000 && !text.endsWith(end); ++turn) {
            QCoreApplication::processEvents();
            while (line.bytesAvailable() > 0)
                text.append(line.readChar());
        }
        return text;
    }

private slots:
    // The answer never comes inside write(): only on a later turn of the event loop.
    void answersThroughTheEventLoop() {
        SimulatedPort port(testHost());
        QSignalSpy ready(&port, &PortBackend::readyRead);
        QSignalSpy written(&port, &PortBackend::bytesWritten);
        QVERIFY(port.open(nullptr));
        port.write("AT+CGMI\r\n");
        QCOMPARE(ready.count(), 0);
        QCOMPARE(port.readAll(), QByteArray());
        QCOMPARE(port.bytesToWrite(), qint64(9));
        QTRY_VERIFY(ready.count() > 0);
        QCOMPARE(port.readAll(), QByteArray("AT+CGMI\r\r\nTelit\r\n\r\nOK\r\n"));
        QCOMPARE(written.count(), 1);
        QCOMPARE(written.first().first().toLongLong(), qint64(9));
        QCOMPARE(port.bytesToWrite(), qint64(0));
    }

    // A whole phone book read through SerialLine, on the next turns of the event loop.
    void fullReadThroughSerialLine() {
        auto host = testHost(false, 250, true);
        auto line = lineTo(host);
        QSignalSpy notices(line.get(), &PortLayer::notice);
        line->send("ATE0\r\n");
        QCOMPARE(line->currentPortName(), QString(SimulatedPortName));
        QCOMPARE(readUntil(*line, "OK\r\n"), QByteArray("ATE0\r\r\nOK\r\n"));
        line->send("AT+CPBR=1,250\r\n");
        const QByteArray answer = readUntil(*line, "\r\nOK\r\n");
        QCOMPARE(answer.count("+CPBR: "), 250);
        QVERIFY(answer.contains("+CPBR: 250,\"600000250\",129,\"Row 250\"\r\n"));
        // The simulated port drives DTR, so the program gets no notice about it.
        line->setDtr(true);
        QCOMPARE(notices.count(), 0);
    }

    // DTR set on the program's line reaches the unit: the stop handshake end to end.
    void stopHandshakeThroughSerialLine() {
        auto host = testHost(true);
        auto line = lineTo(host);
        line->send("ATE0\r\n");
        QCoreApplication::processEvents();
        QCOMPARE(host->unit().scriptState(), ScriptState::Running);
        line->setDtr(true);
        QCOMPARE(readUntil(*line, "STOP\r\n"), QByteArray("STOP\r\n"));
        line->send("ATE0\r\n");
        QCOMPARE(readUntil(*line, "[AT#SLED=1]=\r\n"), QByteArray("ATE0\r\r\nOK\r\n[AT#SLED=1]=\r\n"));
        line->setDtr(false);
        line->send("AT#REBOOT\r\n");
        QVERIFY(readUntil(*line, "#SMSATWL: 0,1,0,\"+420603111222\"\r\n").contains("#CBC: "));
    }

    // Periodic status lines wait for the test to move the unit's clock.
    void statusLinesOnTheTestsClock() {
        auto host = testHost(true);
        SimulatedPort port(host);
        QSignalSpy ready(&port, &PortBackend::readyRead);
        port.open(nullptr);
        QCoreApplication::processEvents();
        QCOMPARE(ready.count(), 0);
        host->advance(2000);
        QCOMPARE(ready.count(), 1);
        QVERIFY(port.readAll().startsWith("#CBC: 0,"));
    }

    void hangUpLosesTheLine() {
        auto host = testHost();
        auto line = lineTo(host);
        QSignalSpy lost(line.get(), &PortLayer::lost);
        line->send("AT\r\n");
        readUntil(*line, "OK\r\n");
        host->injectFault({Fault::Kind::HangUp, 1, 0});
        QTRY_COMPARE(lost.count(), 1);
        QCOMPARE(line->portNumber(), 0);
    }

    // What the unit sends while the port is closed is lost, as on an unplugged cable.
    void closedPortHearsNothing() {
        auto host = testHost(true);
        SimulatedPort port(host);
        host->advance(2000);
        QVERIFY(port.open(nullptr));
        QCoreApplication::processEvents();
        QCOMPARE(port.readAll(), QByteArray());
    }

    // The unit the port choice offers: real time, line rate, the script running, a realistic SIM.
    void productionFactory() {
        std::unique_ptr<PortBackend> backend = createSimulatedPort();
        auto *port = qobject_cast<SimulatedPort *>(backend.get());
        QVERIFY(port);
        QVERIFY(!port->host().clock().isManual());
        QCOMPARE(port->unit().options().timing.lineBitsPerSecond, qint64(115200));
        QCOMPARE(port->unit().scriptState(), ScriptState::Running);
        QCOMPARE(port->unit().sim().size(), 250);
        QCOMPARE(port->unit().sim().entry(250)->name, QByteArray("VER"));
        QStringList names;
        for (const IndexedEntry &used : port->unit().sim().usedEntries())
            names << QString::fromLatin1(used.entry.name);
        for (const char *expected : {"ADMIN1", "ABUTTON1", "BBUTTON1", "ALARMON", "ALARMOFF", "PAROXA",
                                     "PARRL1", "PARRL2", "PARKEY", "B1-1", "M12-1", "C246C", "DETECT"})
            QVERIFY2(names.contains(QLatin1String(expected)), expected);
        QString error;
        QVERIFY(port->open(&error));
        QVERIFY(port->isOpen());
        QVERIFY(port->setDtr(true));
    }
};

QTEST_GUILESS_MAIN(TestSimPort)
#include "tst_sim_port.moc"
