// Saves that cannot complete: one message, and whatever lay at that name before is still there as it
// was. Every save goes through a temporary file beside the target and a rename; where no temporary file
// can be made (the folder takes no new files), the save fails rather than writing over the old file.
#include "badfiles.h"
#include "fileswindow.h"

#include "monitor.h"
#include "unprivileged.h"

#include <QTest>
#include <optional>

using namespace oxa;
using namespace oxa::test;

namespace {

// Where a save can go wrong. A read-only folder holding a writable file of that name is where a save
// that falls back to writing in place would damage the earlier file.
enum class Target { Folder, UnderAFile, ReadOnlyFolder, EarlierFile };

// With an extension, so that the save uses the name as it stands.
const QString TargetName = QStringLiteral("saved.dat");

const QByteArray EarlierContent =
    QByteArray("an earlier file, longer than what replaces it\r\n").repeated(2000);

QString makeTarget(Target target, const QString &folder) {
    switch (target) {
    case Target::Folder:
        return makeBadFile(BadFile::Folder, folder, TargetName, {});
    case Target::UnderAFile:
        return makeBadFile(BadFile::UnderAFile, folder, TargetName, "an earlier file\r\n");
    case Target::ReadOnlyFolder: {
        const QString inner = QDir(folder).filePath("readonly");
        QDir().mkpath(inner);
        const QString path = QDir(inner).filePath(TargetName);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(EarlierContent);
        file.close();
        const auto all = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther |
                         QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
        QFile::setPermissions(folder, all | QFileDevice::WriteOwner);
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                        QFileDevice::ReadOther | QFileDevice::WriteOther);
        QFile::setPermissions(inner, all);
        return path;
    }
    case Target::EarlierFile: {
        const QString path = QDir(folder).filePath(TargetName);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(EarlierContent);
        return path;
    }
    }
    return {};
}

// What lies where the save aimed (the regular file above the path, for a path under one).
QString watchedPath(Target target, const QString &path) {
    return target == Target::UnderAFile ? path.chopped(int(strlen("/inner"))) : path;
}

} // namespace

class TestFilesSave : public QObject {
    Q_OBJECT
private slots:
    void failedSaveKeepsWhatWasThere_data();
    void failedSaveKeepsWhatWasThere();
    void settingsUnreadableAtCloseAreLeftAlone_data();
    void settingsUnreadableAtCloseAreLeftAlone();
};

void TestFilesSave::failedSaveKeepsWhatWasThere_data() {
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<int>("target");
    for (const char *button : {"Save", "SaveMonitor"}) {
        QTest::addRow("%s, folder", button) << QByteArray(button) << int(Target::Folder);
        QTest::addRow("%s, under a file", button) << QByteArray(button) << int(Target::UnderAFile);
        QTest::addRow("%s, read-only folder", button) << QByteArray(button) << int(Target::ReadOnlyFolder);
        QTest::addRow("%s, over an earlier file", button) << QByteArray(button) << int(Target::EarlierFile);
    }
}

void TestFilesSave::failedSaveKeepsWhatWasThere() {
    QFETCH(QByteArray, button);
    QFETCH(int, target);
    FilesWindow w;
    w.form.ctl<QLineEdit>("ADMIN1")->setText("+420111222");
    w.form.appendPhoneBookRow("Novak", "602");
    w.form.log(QStringLiteral("a line of the log"));
    const QString path = makeTarget(Target(target), w.folder.path());
    const QByteArray before = stateOf(watchedPath(Target(target), path));
    w.fakes.dialogs.saveAnswers.enqueue(path);

    {
        // Root writes anywhere; file access as an ordinary user makes the folder read-only in earnest.
        std::optional<UnprivilegedFileAccess> asUser;
        if (Target(target) == Target::ReadOnlyFolder)
            asUser.emplace();
        w.click(button.constData());
    }

    if (Target(target) == Target::EarlierFile) {
        QCOMPARE(w.messages(), QStringList{});
        const QByteArray after = stateOf(path);
        QVERIFY2(!after.contains("an earlier file"), after.constData());
        QVERIFY(after.contains(button == "Save" ? "ADMIN1=+420111222\r\n" : "a line of the log"));
        // Nothing is left beside it.
        QCOMPARE(QDir(w.folder.path()).entryList(QDir::Files).size(), 1);
        return;
    }
    QCOMPARE(w.messages().size(), 1);
    QCOMPARE(stateOf(watchedPath(Target(target), path)), before);
    QCOMPARE(QDir(w.folder.path()).entryList(QDir::Files | QDir::Hidden).size(),
             Target(target) == Target::UnderAFile ? 1 : 0);
    if (Target(target) == Target::ReadOnlyFolder)
        QCOMPARE(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{TargetName});
}

// The file was read at start-up; by closing time it cannot be (replaced meanwhile). Rewriting it from
// an empty read would drop every key the user had, so it stays as it is, with one message.
void TestFilesSave::settingsUnreadableAtCloseAreLeftAlone_data() {
    QTest::addColumn<int>("kind");
    for (BadFile kind : {BadFile::Folder, BadFile::Unreadable, BadFile::Binary, BadFile::Huge})
        QTest::newRow(badFileName(kind)) << int(kind);
}

void TestFilesSave::settingsUnreadableAtCloseAreLeftAlone() {
    QFETCH(int, kind);
    QTemporaryDir folder;
    const QString settings = folder.filePath("GSMQuend.ini");
    {
        QFile file(settings);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Form]\r\nWaitSer=700\r\n");
    }
    FilesWindow w(folder.filePath("GSMQuend"));
    QCOMPARE(w.messages(), QStringList{});
    QCOMPARE(w.form.uploadPause(), 700);
    QVERIFY(QFile::remove(settings));
    makeBadFile(BadFile(kind), folder.path(), "GSMQuend.ini", "[Form]\r\nWaitSer=800\r\nOwnKey=kept\r\n");
    const QByteArray before = stateOf(settings);

    w.form.close();

    QCOMPARE(w.messages().size(), 1);
    QVERIFY2(w.messages().first().contains("left as it is"), qPrintable(w.messages().first()));
    QCOMPARE(stateOf(settings), before);
}

QTEST_MAIN(TestFilesSave)
#include "tst_files_save.moc"
