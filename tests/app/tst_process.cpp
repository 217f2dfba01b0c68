// The program as a process: started through a link under another name, ended by SIGTERM while it
// waits for the port choice, it closes as if the user had closed it and writes its settings file
// beside the link, under the link's name. Installed in a folder the user cannot write, it keeps its
// settings in the user's configuration folder.
#include "inifile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <grp.h>
#include <unistd.h>
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

#ifdef Q_OS_LINUX
constexpr uid_t Nobody = 65534;

// Starts `program` with the offscreen platform and ends it with SIGTERM once it waits for the port
// choice; it must close as the user would close it.
void runUntilTerminated(const QString &program, const QProcessEnvironment &environment, bool asNobody) {
    QProcess process;
    process.setProcessEnvironment(environment);
    if (asNobody)
        process.setChildProcessModifier([] {
            // The tests run as root, who writes anywhere: the program runs as an ordinary user.
            if (::setgroups(0, nullptr) != 0 || ::setgid(Nobody) != 0 || ::setuid(Nobody) != 0)
                ::_exit(126);
        });
    process.start(program, {});
    QVERIFY(process.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(catchesSigterm(process.processId()), 10000);
    process.terminate();
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
}

QByteArray contentOf(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}
#endif

} // namespace

class TestProcess : public QObject {
    Q_OBJECT
private slots:
    void sigtermClosesLikeTheUserAndWritesSettings_data();
    void sigtermClosesLikeTheUserAndWritesSettings();
    void installedProgramKeepsItsSettingsInTheUserFolder();
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

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    runUntilTerminated(link, environment, false);
    if (QTest::currentTestFailed())
        return;

    IniFile ini;
    QVERIFY(QFile::exists(folder.filePath(linkName + ".ini")));
    QVERIFY(ini.load(folder.filePath(linkName + ".ini")));
    QCOMPARE(ini.readString("Language", "OXA", {}), groupCaption);
    QCOMPARE(ini.readInteger("Form", "Left", -1), 200);
    QCOMPARE(ini.keys("Help").size(), 63);
#endif
}

// As installed under /usr/bin: the folder and the settings file an administrator put there are the
// user's to read, not to write. The program reads that file, saves to ~/.config/OXAset/OXAset.ini,
// reads that one first on the next start, and a link the user makes still brands it.
void TestProcess::installedProgramKeepsItsSettingsInTheUserFolder() {
#ifndef Q_OS_LINUX
    QSKIP("uses /proc to see when the program is ready");
#else
    const bool asNobody = ::geteuid() == 0;
    QTemporaryDir root;
    const QDir system(root.path());
    QVERIFY(system.mkpath("usr/bin") && system.mkpath("home/bin"));
    const QString installed = system.filePath("usr/bin/OXAset");
    QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + "/OXAset", installed));
    const QString beside = system.filePath("usr/bin/OXAset.ini");
    const QByteArray administrators = "[Form]\nWaitSer=700\nInicializace=1\n[Language]\nwrite code=Zapsat\n";
    {
        QFile file(beside);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(administrators);
    }
    const auto readable = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    const auto enterable = readable | QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    QVERIFY(QFile::setPermissions(beside, readable));
    // Root owns them and may write; anyone else may only read and enter. (Not running as root, the test
    // takes write permission from its own user instead, and gives it back for the clean-up.)
    const auto guard = qScopeGuard([&] {
        for (const char *folder : {"", "usr", "usr/bin"})
            QFile::setPermissions(system.filePath(folder), enterable | QFileDevice::WriteOwner);
    });
    for (const char *folder : {"", "usr", "usr/bin"})
        QVERIFY(QFile::setPermissions(system.filePath(folder),
                                      enterable | (asNobody ? QFileDevice::WriteOwner : QFileDevice::Permissions{})));
    const QString home = system.filePath("home");
    if (asNobody)
        for (const char *folder : {"home", "home/bin"})
            QVERIFY(::chown(QFile::encodeName(system.filePath(folder)).constData(), Nobody, Nobody) == 0);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("HOME", home);
    environment.remove("XDG_CONFIG_HOME");
    environment.remove("XDG_RUNTIME_DIR");
    const QString own = home + "/.config/OXAset/OXAset.ini";

    auto run = [&](const QString &program) {
        runUntilTerminated(program, environment, asNobody);
        return !QTest::currentTestFailed();
    };
    QVERIFY(run(installed));
    IniFile ini;
    QVERIFY2(ini.load(own) && QFile::exists(own), qPrintable(own));
    QCOMPARE(ini.readInteger("Form", "WaitSer", 0), 700);
    QCOMPARE(ini.readInteger("Form", "Inicializace", 0), 1);
    QCOMPARE(ini.readString("Language", "write code", {}), QString("Zapsat"));
    QCOMPARE(ini.readInteger("Form", "Left", -1), 200);
    QCOMPARE(contentOf(beside), administrators);

    // The next start reads the user's file first: its window position holds.
    ini.writeInteger("Form", "Left", 321);
    QVERIFY(ini.save(own));
    QVERIFY(run(installed));
    QVERIFY(ini.load(own));
    QCOMPARE(ini.readInteger("Form", "Left", -1), 321);
    QCOMPARE(contentOf(beside), administrators);
    QCOMPARE(QDir(system.filePath("usr/bin")).entryList(QDir::Files | QDir::Hidden),
             (QStringList{"OXAset", "OXAset.ini"}));

    // A link the user makes in a folder of their own brands the program and has its settings beside it.
    const QString link = home + "/bin/GSMQuend";
    QVERIFY(QFile::link(installed, link));
    QVERIFY(run(link));
    QVERIFY(ini.load(home + "/bin/GSMQuend.ini") && QFile::exists(home + "/bin/GSMQuend.ini"));
    QCOMPARE(ini.readString("Language", "OXA", {}), QString("GSM-Quendrill"));
#endif
}

QTEST_MAIN(TestProcess)
#include "tst_process.moc"
