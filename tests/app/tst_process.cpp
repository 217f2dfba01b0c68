// The program as a process: started through a link under another name, ended by SIGTERM while it
// waits for the port choice, it closes as if the user had closed it and writes its settings file
// beside the link, under the link's name.
#include "inifile.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#endif

using namespace oxa;

namespace {

// True once the process has its SIGTERM handler in place (Linux reports it in /proc).
bool catchesSigterm(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("SigCgt:"))
            return line.mid(7).trimmed().toULongLong(nullptr, 16) & (1ull << (SIGTERM - 1));
    return false;
}

} // namespace

class TestProcess : public QObject {
    Q_OBJECT
private slots:
    void sigtermClosesLikeTheUserAndWritesSettings_data();
    void sigtermClosesLikeTheUserAndWritesSettings();
};

void TestProcess::sigtermClosesLikeTheUserAndWritesSettings_data() {
    QTest::addColumn<QString>("linkName");
    QTest::addColumn<QString>("groupCaption");
    QTest::newRow("symbolic link, Quendrill") << "GSMQuend" << "GSM-Quendrill";
    QTest::newRow("symbolic link, default") << "oxa-field" << "OXA";
}

void TestProcess::sigtermClosesLikeTheUserAndWritesSettings() {
#ifndef Q_OS_LINUX
    QSKIP("uses /proc to see when the program is ready");
#else
    QFETCH(QString, linkName);
    QFETCH(QString, groupCaption);
    QTemporaryDir folder;
    const QString link = folder.filePath(linkName);
    QVERIFY(QFile::link(QCoreApplication::applicationDirPath() + "/OXAset", link));

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    program.start(link, {});
    QVERIFY(program.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(catchesSigterm(program.processId()), 10000);
    program.terminate();
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);

    IniFile ini;
    QVERIFY(QFile::exists(folder.filePath(linkName + ".ini")));
    QVERIFY(ini.load(folder.filePath(linkName + ".ini")));
    QCOMPARE(ini.readString("Language", "OXA", {}), groupCaption);
    QCOMPARE(ini.readInteger("Form", "Left", -1), 200);
    QCOMPARE(ini.keys("Help").size(), 63);
#endif
}

QTEST_MAIN(TestProcess)
#include "tst_process.moc"
