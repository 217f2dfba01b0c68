#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

// A phone-book client nobody here wrote, gammu, against oxasim on a pseudo-terminal: it must get through
// its initialisation, read the SIM exactly as the simulator lists it, names in Windows-1250 included,
// and write and delete entries that the simulator then shows. Skipped where gammu is not installed
// (./benchmarks installs it; ./test does not).
class TestSimGammu : public QObject {
    Q_OBJECT

    // The SIM as a configuration file, in the code page of the PC that wrote it (Windows-1250): keys,
    // tagged entries and phone-book rows, Czech names and names with characters that the GSM alphabet
    // holds only through its extension table.
    static QByteArray configuration() {
        return "ADMIN1=+420603111222\r\n"
               "ALARMON=Alarm on\r\n"
               "PARAMOXA=4#5#1#1#1#7#2#3\r\n"
               "B1-1=+420603111222\r\n"
               "C1234C=1#0\r\n"
               "Jan Nov\xe1\xe8"
               "ek-Dvo\xf8\xe1k=+420603987654\r\n"
               "\x8elu\x9dou\xe8k\xfd k\xf9\xf2=+420731246810\r\n"
               "M\xfcller [\x80] ~@_=555123456\r\n"
               "Fire brigade=150\r\n";
    }

    struct Simulator {
        QProcess process;
        QString slave;
    };

    QString m_gammu;
    QTemporaryDir m_dir;
    Simulator m_sim;

    static QString fromSim(const QByteArray &bytes) {
        QStringDecoder decoder("windows-1250");
        return decoder.decode(bytes);
    }

    // The simulator's listing of the SIM, "index,number,name" in index order.
    QStringList dump() {
        m_sim.process.readAllStandardOutput();
        m_sim.process.write("dump\n");
        m_sim.process.waitForBytesWritten(5000);
        QStringList lines;
        const QDeadlineTimer deadline(20000);
        while (!deadline.hasExpired()) {
            while (m_sim.process.canReadLine()) {
                const QByteArray line = m_sim.process.readLine().chopped(1);
                if (line == "end")
                    return lines;
                lines << fromSim(line);
            }
            m_sim.process.waitForReadyRead(200);
        }
        return lines << QStringLiteral("(no end of the listing)");
    }

    struct Run {
        int exitCode = -1;
        QString output;
    };

    // One gammu command on the simulated unit; its standard output in UTF-8.
    Run gammu(const QStringList &arguments) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LC_ALL", "C.UTF-8");
        environment.insert("HOME", m_dir.path());
        process.setProcessEnvironment(environment);
        process.start(m_gammu, QStringList{"-c", m_dir.filePath("gammurc")} + arguments);
        Run run;
        if (!process.waitForFinished(120000)) {
            process.kill();
            process.waitForFinished(5000);
            run.output = QStringLiteral("(gammu did not finish) ");
        }
        run.output += QString::fromUtf8(process.readAllStandardOutput());
        if (process.exitStatus() == QProcess::NormalExit)
            run.exitCode = process.exitCode();
        if (run.exitCode != 0)
            run.output += QString::fromUtf8(process.readAllStandardError());
        return run;
    }

    // Gammu's listing of entries as "index,number,name".
    static QStringList entries(const QString &output) {
        static const QRegularExpression location(QStringLiteral("^Memory SM, Location (\\d+)$"));
        static const QRegularExpression field(QStringLiteral("^(General number|Name) +: \"(.*)\"$"));
        QStringList result;
        QString index, number, name;
        const auto finish = [&] {
            if (!index.isEmpty())
                result << index + ',' + number + ',' + name;
            index.clear();
            number.clear();
            name.clear();
        };
        for (const QString &line : output.split('\n')) {
            if (const QRegularExpressionMatch m = location.match(line); m.hasMatch()) {
                finish();
                index = m.captured(1);
            } else if (const QRegularExpressionMatch m = field.match(line); m.hasMatch()) {
                (m.captured(1) == QLatin1String("Name") ? name : number) = m.captured(2);
            }
        }
        finish();
        return result;
    }

private slots:
    void initTestCase() {
        m_gammu = QStandardPaths::findExecutable(QStringLiteral("gammu"));
        if (m_gammu.isEmpty())
            QSKIP("gammu is not installed (apt-get install gammu); ./benchmarks installs it");
        QVERIFY(m_dir.isValid());
        QFile sim(m_dir.filePath("unit.oxa"));
        QVERIFY(sim.open(QIODevice::WriteOnly));
        sim.write(configuration());
        sim.close();

        m_sim.process.setProgram(QStringLiteral(OXASIM_PATH));
        m_sim.process.setArguments({"--stopped", "--instant", "--size", "60", "--sim", sim.fileName()});
        m_sim.process.start();
        QVERIFY(m_sim.process.waitForStarted(10000));
        const QDeadlineTimer deadline(20000);
        while (!m_sim.process.canReadLine() && !deadline.hasExpired())
            m_sim.process.waitForReadyRead(200);
        const QByteArray first = m_sim.process.readLine().trimmed();
        QVERIFY2(first.startsWith("PTY /"), first.constData());
        m_sim.slave = QString::fromLocal8Bit(first.mid(4));

        QFile rc(m_dir.filePath("gammurc"));
        QVERIFY(rc.open(QIODevice::WriteOnly));
        rc.write("[gammu]\ndevice = " + m_sim.slave.toLocal8Bit() + "\nconnection = at115200\n");
    }

    void cleanupTestCase() {
        if (m_sim.process.state() != QProcess::NotRunning) {
            m_sim.process.write("quit\n");
            if (!m_sim.process.waitForFinished(10000))
                m_sim.process.kill();
        }
    }

    void readsTheWholeSim() {
        const QStringList listed = dump();
        QCOMPARE(listed.size(), 9);
        QVERIFY(listed.contains(QString::fromUtf8("6,+420603987654,Jan Nováček-Dvořák")));
        QVERIFY(listed.contains(QString::fromUtf8("7,+420731246810,Žluťoučký kůň")));
        QVERIFY(listed.contains(QString::fromUtf8("8,555123456,Müller [€] ~@_")));
        const Run run = gammu({"getallmemory", "SM"});
        QVERIFY2(run.exitCode == 0, qPrintable(run.output));
        QCOMPARE(entries(run.output), listed);
    }

    void readsOneEntry() {
        const Run run = gammu({"getmemory", "SM", "7"});
        QVERIFY2(run.exitCode == 0, qPrintable(run.output));
        QCOMPARE(entries(run.output), QStringList{QString::fromUtf8("7,+420731246810,Žluťoučký kůň")});
    }

    // A name outside the GSM alphabet goes as UCS2, one inside it as GSM with escapes: both land in the
    // SIM as the Windows-1250 bytes the configuration program reads.
    void writesEntries() {
        QFile card(m_dir.filePath("new.vcf"));
        QVERIFY(card.open(QIODevice::WriteOnly));
        card.write(QString::fromUtf8("BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=UTF-8:Paní Šťastná\r\n"
                                     "TEL:+420777123456\r\nEND:VCARD\r\n"
                                     "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=UTF-8:Gate {é}\r\n"
                                     "TEL:+420603123123\r\nEND:VCARD\r\n")
                       .toUtf8());
        card.close();
        const QStringList before = dump();
        const Run run = gammu({"addnew", card.fileName(), "-yes", "-memory", "SM"});
        QVERIFY2(run.exitCode == 0, qPrintable(run.output));
        const QStringList written{QString::fromUtf8("10,+420777123456,Paní Šťastná"),
                                  QString::fromUtf8("11,+420603123123,Gate {é}")};
        QCOMPARE(dump(), before + written);
        const Run read = gammu({"getmemory", "SM", "10", "11"});
        QCOMPARE(entries(read.output), written);
    }

    void deletesEveryEntry() {
        const Run run = gammu({"deleteallmemory", "SM"});
        QVERIFY2(run.exitCode == 0, qPrintable(run.output));
        QCOMPARE(dump(), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestSimGammu)
#include "tst_sim_gammu.moc"
