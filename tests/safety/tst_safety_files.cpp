// No save destroys the earlier file: a disk that refuses the bytes (here a file-size limit, which fails
// the writes as a full disk does) leaves every file as it was, and the backup a write relies on is read
// back before the write starts.
#include "backup.h"
#include "safesave.h"
#include "safetywindow.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace oxa;
using namespace oxa::test;

namespace {

// While it lives, no file of this process may grow beyond `bytes`: every write past that fails (EFBIG),
// as writes fail on a full disk. Elsewhere than on Unix it does nothing, and the tests that need it skip.
class WriteLimit {
public:
    explicit WriteLimit(rlim_t bytes) {
#ifdef Q_OS_UNIX
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_before);
        rlimit limited = m_before;
        limited.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &limited) == 0;
#endif
    }
    ~WriteLimit() {
#ifdef Q_OS_UNIX
        if (m_active)
            setrlimit(RLIMIT_FSIZE, &m_before);
#endif
    }
    bool active() const {
        return m_active;
    }

private:
#ifdef Q_OS_UNIX
    rlimit m_before{};
#endif
    bool m_active = false;
};

QByteArray contentOf(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Nothing but the target (and what the test put there) in the folder: no temporary file left behind.
QStringList filesIn(const QString &folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

const QByteArray Earlier = "ADMIN1=+420600111222\r\nNovak=602\r\n";

} // namespace

class TestSafetyFiles : public QObject {
    Q_OBJECT
private slots:
    void savedFileReplacesTheTargetWhole();
    void failedSaveKeepsTheEarlierFile_data();
    void failedSaveKeepsTheEarlierFile();
    void settingsFileSurvivesAFullDiskAtClosing();
    void writeAsksBeforeGoingOnWithoutABackup();
    void rotationNeverRemovesTheNewBackup();
};

void TestSafetyFiles::savedFileReplacesTheTargetWhole() {
    QTemporaryDir folder;
    const QString path = folder.filePath("site.oxa");
    writeFile(path, Earlier);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    QCOMPARE(saveFileSafely(path, "new"), QString());
    QCOMPARE(contentOf(path), QByteArray("new"));
    const auto unixBits = [](QFile::Permissions p) {
        return p &
               (QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther);
    };
    QCOMPARE(unixBits(QFile::permissions(path)), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    QCOMPARE(filesIn(folder.path()), QStringList{"site.oxa"});
    // A link stays a link; the file it points to gets the bytes.
    QVERIFY(QFile::link(path, folder.filePath("link.oxa")));
    QCOMPARE(saveFileSafely(folder.filePath("link.oxa"), "via link"), QString());
    QVERIFY(QFileInfo(folder.filePath("link.oxa")).isSymLink());
    QCOMPARE(contentOf(path), QByteArray("via link"));
    // A folder where the file should be is reported, and stays a folder.
    QVERIFY(QDir(folder.path()).mkdir("taken.oxa"));
    QVERIFY(!saveFileSafely(folder.filePath("taken.oxa"), "x").isEmpty());
    QVERIFY(QFileInfo(folder.filePath("taken.oxa")).isDir());
}

void TestSafetyFiles::failedSaveKeepsTheEarlierFile_data() {
    QTest::addColumn<QString>("what");
    QTest::newRow("configuration file") << "configuration";
    QTest::newRow("monitor log") << "monitor";
}

// The limit lets no byte through: the save fails as on a full disk, says so, and the earlier file is
// whole, with no temporary file left beside it.
void TestSafetyFiles::failedSaveKeepsTheEarlierFile() {
    QFETCH(QString, what);
    SafetyWindow w;
    const QString path = w.folder.filePath(what == "configuration" ? "site.oxa" : "traffic.mon");
    writeFile(path, Earlier);
    const QStringList before = filesIn(w.folder.path());
    {
        WriteLimit limit(8);
        if (!limit.active())
            QSKIP("no file-size limit on this platform");
        w.fakes.dialogs.saveAnswers.enqueue(path);
        w.click(what == "configuration" ? "Save" : "SaveMonitor");
    }
    QCOMPARE(contentOf(path), Earlier);
    QCOMPARE(filesIn(w.folder.path()), before);
    QCOMPARE(w.fakes.errors.messages.size(), 1);
    // Once the disk takes the bytes again, the same save goes through.
    w.fakes.dialogs.saveAnswers.enqueue(path);
    w.click(what == "configuration" ? "Save" : "SaveMonitor");
    QCOMPARE(w.fakes.errors.messages.size(), 1);
    QVERIFY(contentOf(path) != Earlier);
}

void TestSafetyFiles::settingsFileSurvivesAFullDiskAtClosing() {
    auto w = std::make_unique<SafetyWindow>();
    const QString settings = w->form.settingsPath();
    const QByteArray earlier = "[Form]\r\nTop=10\r\nLeft=20\r\nInicializace=1\r\n";
    writeFile(settings, earlier);
    {
        WriteLimit limit(8);
        if (!limit.active())
            QSKIP("no file-size limit on this platform");
        w->form.close();
    }
    QCOMPARE(contentOf(settings), earlier);
    QCOMPARE(w->fakes.errors.messages.size(), 1);
    QVERIFY(w->fakes.errors.messages.first().contains(QDir::toNativeSeparators(settings)) ||
            w->fakes.errors.messages.first().contains(settings));
}

// The backup cannot be made: the user is asked; "No" sends nothing to the unit.
void TestSafetyFiles::writeAsksBeforeGoingOnWithoutABackup() {
    SafetyWindow w;
    {
        WriteLimit limit(8);
        if (!limit.active())
            QSKIP("no file-size limit on this platform");
        w.fakes.dialogs.confirmAnswers.enqueue(false);
        w.click("SaveOXA");
    }
    QCOMPARE(w.fakes.dialogs.questions.size(), 1);
    QVERIFY(w.fakes.port.sent.isEmpty());
    QVERIFY(!w.form.session().writing());
    QCOMPARE(filesIn(w.folder.filePath("backups")), QStringList{});
    {
        WriteLimit limit(8);
        w.fakes.dialogs.confirmAnswers.enqueue(true);
        w.click("SaveOXA");
    }
    QCOMPARE(w.fakes.dialogs.questions.size(), 2);
    QVERIFY(w.form.session().writing());
    QCOMPARE(w.fakes.port.sent, QList<QByteArray>{"AT\r\n"});
}

// Twenty backups made while the clock was a year ahead: the new one is older by every date, yet it is
// the one just made, and the one the message names; it stays.
void TestSafetyFiles::rotationNeverRemovesTheNewBackup() {
    QTemporaryDir folder;
    const QString backups = folder.filePath("backups");
    QVERIFY(QDir().mkpath(backups));
    const QDateTime ahead = QDateTime::currentDateTime().addYears(1);
    for (int i = 0; i < 20; ++i) {
        const QDateTime made = ahead.addSecs(i);
        const QString path = QDir(backups).filePath(made.toString("yyyy-MM-dd_HH-mm-ss") + ".oxa");
        writeFile(path, Earlier);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(made, QFileDevice::FileModificationTime));
    }
    QString error;
    const QString made = writeBackup(backups, {{"ADMIN1", "+420"}}, QDateTime::currentDateTime(), 20, &error);
    QVERIFY2(!made.isEmpty(), qPrintable(error));
    QVERIFY(QFileInfo::exists(made));
    QVERIFY(contentOf(made).startsWith("ADMIN1=+420\r\n"));
    QCOMPARE(filesIn(backups).size(), 20);
}

QTEST_MAIN(TestSafetyFiles)
#include "tst_safety_files.moc"
