#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// oxasim serving a unit on a pseudo-terminal to the platform's own serial-port code.
class TestSimPty : public QObject {
    Q_OBJECT

    struct Simulator {
        QProcess process;
        QString slave;
    };

    static bool start(Simulator &sim, const QStringList &arguments) {
        sim.process.setProgram(QStringLiteral(OXASIM_PATH));
        sim.process.setArguments(arguments);
        sim.process.start();
        if (!sim.process.waitForStarted(10000))
            return false;
        const QDeadlineTimer deadline(20000);
        while (!sim.process.canReadLine() && !deadline.hasExpired())
            sim.process.waitForReadyRead(200);
        const QByteArray first = sim.process.readLine().trimmed();
        if (!first.startsWith("PTY /"))
            return false;
        sim.slave = QString::fromLocal8Bit(first.mid(4));
        return true;
    }

    static void stop(Simulator &sim) {
        if (sim.process.state() != QProcess::NotRunning) {
            sim.process.kill();
            sim.process.waitForFinished(5000);
        }
    }

    // Reads stdout lines of the simulator up to and including "end".
    static QByteArrayList readListing(QProcess &process) {
        QByteArrayList lines;
        const QDeadlineTimer deadline(20000);
        while (!deadline.hasExpired()) {
            while (process.canReadLine()) {
                const QByteArray line = process.readLine().chopped(1);
                if (line == "end")
                    return lines;
                lines << line;
            }
            process.waitForReadyRead(200);
        }
        return lines;
    }

    static QByteArray readUntil(QSerialPort &port, const QByteArray &end) {
        QByteArray text;
        const QDeadlineTimer deadline(20000);
        while (!text.contains(end) && !deadline.hasExpired()) {
            if (port.bytesAvailable() > 0 || port.waitForReadyRead(200))
                text += port.readAll();
        }
        return text;
    }

    static bool openPort(QSerialPort &port, const QString &name) {
        port.setPortName(name);
        port.setBaudRate(QSerialPort::Baud115200);
        port.setFlowControl(QSerialPort::HardwareControl);
        return port.open(QIODevice::ReadWrite);
    }

    static bool control(QProcess &process, const QByteArray &line) {
        process.write(line + '\n');
        return process.waitForBytesWritten(5000);
    }

    static bool send(QSerialPort &port, const QByteArray &bytes) {
        port.write(bytes);
        return port.waitForBytesWritten(5000);
    }

private slots:
    void answersASerialPortClient() {
        QTemporaryDir dir;
        const QString link = dir.filePath("unit-tty");
        Simulator sim;
        QVERIFY(start(sim, {"--stopped", "--instant", "--size", "40", "--link", link}));
        QCOMPARE(QFileInfo(link).symLinkTarget(), sim.slave);

        QSerialPort port;
        QVERIFY2(openPort(port, link), qPrintable(port.errorString()));
        QVERIFY(send(port, "ATE0\r\n"));
        QVERIFY(readUntil(port, "OK\r\n").endsWith("\r\nOK\r\n"));
        QVERIFY(send(port, "AT+CGMI\r\n"));
        QCOMPARE(readUntil(port, "OK\r\n"), QByteArray("\r\nTelit\r\n\r\nOK\r\n"));
        QVERIFY(send(port, "AT+CPBR=?\r\n"));
        QCOMPARE(readUntil(port, "OK\r\n"), QByteArray("\r\n+CPBR: (1-40),40,18\r\n\r\nOK\r\n"));
        QVERIFY(send(port, "AT+CPBW=,+420123,,Probe \xe9;x\r\n"));
        QCOMPARE(readUntil(port, "OK\r\n"), QByteArray("\r\nOK\r\n"));

        QVERIFY(control(sim.process, "dump"));
        const QByteArrayList dump = readListing(sim.process);
        QVERIFY2(dump.contains("29,+420123,Probe \xe9;x"), dump.join(" | "));
        QCOMPARE(dump.last(), QByteArray("40,5.14,VER"));

        // End of input is not the end: the unit keeps answering; SIGTERM ends it cleanly.
        sim.process.closeWriteChannel();
        QVERIFY(!sim.process.waitForFinished(300));
        QVERIFY(send(port, "AT\r\n"));
        QCOMPARE(readUntil(port, "OK\r\n"), QByteArray("\r\nOK\r\n"));
        port.close();
        sim.process.terminate();
        QVERIFY(sim.process.waitForFinished(10000));
        QCOMPARE(sim.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.process.exitCode(), 0);
        QVERIFY(!QFileInfo::exists(link) && !QFileInfo(link).isSymLink());
    }

    // A pseudo-terminal carries no DTR: the control line stands in for it.
    void stopHandshakeByControlLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("stopReport");
        QTest::addColumn<QByteArray>("afterEchoOff");
        QTest::newRow("classic") << QStringList{"--instant"} << QByteArray("STOP\r\n")
                                 << QByteArray("ATE0\r\r\nOK\r\n[AT#SLED=1]=\r\n");
        QTest::newRow("lte") << QStringList{"--instant", "--lte", "--line-rate"}
                             << QByteArray("\r\n#APLAYEV: 0\r\n") << QByteArray("ATE0\r\r\nOK\r\n");
    }

    void stopHandshakeByControlLine() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, stopReport);
        QFETCH(QByteArray, afterEchoOff);
        Simulator sim;
        QVERIFY(start(sim, arguments));
        QSerialPort port;
        QVERIFY2(openPort(port, sim.slave), qPrintable(port.errorString()));
        QVERIFY(control(sim.process, "dtr 1"));
        // Status lines of the running script may come first.
        QVERIFY(readUntil(port, stopReport).endsWith(stopReport));
        QVERIFY(send(port, "ATE0\r\n"));
        QCOMPARE(readUntil(port, afterEchoOff), afterEchoOff);
        QVERIFY(control(sim.process, "state"));
        while (!sim.process.canReadLine())
            QVERIFY(sim.process.waitForReadyRead(10000));
        QVERIFY(sim.process.readLine().startsWith("script stopped dtr 1"));
        QVERIFY(control(sim.process, "quit"));
        QVERIFY(sim.process.waitForFinished(10000));
        QCOMPARE(sim.process.exitCode(), 0);
    }

    // A configuration file becomes the SIM content, as the program would have written it.
    void simFromConfigurationFile() {
        QTemporaryDir dir;
        QFile file(dir.filePath("unit.oxa"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("ADMIN1=+420111\r\nADMIN2=\r\nPARAMOXA=4#4#0#0#1#7#2#0\r\nM12-1=555\r\n");
        file.close();
        Simulator sim;
        QVERIFY(start(sim, {"--stopped", "--sim", file.fileName()}));
        QVERIFY(control(sim.process, "dump"));
        QCOMPARE(readListing(sim.process),
                 (QByteArrayList{"1,+420111,ADMIN1", "2,4#4#0#0#1#7#2#0,PAROXA", "3,555,M12-1"}));
        stop(sim);
    }

    // The line goes away under the client when the unit hangs up.
    void hangUp() {
        Simulator sim;
        QVERIFY(start(sim, {"--stopped"}));
        QSerialPort port;
        QVERIFY(openPort(port, sim.slave));
        QSignalSpy errors(&port, &QSerialPort::errorOccurred);
        QVERIFY(control(sim.process, "fault hangup"));
        // Reading a pseudo-terminal whose master is gone fails.
        const QDeadlineTimer deadline(20000);
        while (port.isOpen() && port.error() == QSerialPort::NoError && !deadline.hasExpired())
            port.waitForReadyRead(200);
        QVERIFY(port.error() != QSerialPort::NoError || !port.isOpen());
        stop(sim);
    }

    void rejectsBadOptions_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("size 0") << QStringList{"--size", "0"};
        QTest::newRow("size text") << QStringList{"--size", "many"};
        QTest::newRow("missing file") << QStringList{"--sim", "/nonexistent/unit.oxa"};
        QTest::newRow("bad fault") << QStringList{"--fault", "explode"};
    }

    void rejectsBadOptions() {
        QFETCH(QStringList, arguments);
        QProcess process;
        process.start(QStringLiteral(OXASIM_PATH), arguments);
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitCode(), 2);
        QVERIFY(!process.readAllStandardError().isEmpty());
        QVERIFY(!process.readAllStandardOutput().startsWith("PTY"));
    }
};

QTEST_GUILESS_MAIN(TestSimPty)
#include "tst_sim_pty.moc"
