// Files the user opens and the settings file read at start-up, each missing, unreadable, binary, huge,
// cut short, a pipe or a terminal: one clear message (or the documented default), nothing in the window
// changed by a file that was refused, and the handler back at once (a huge file is never read whole).
#include "badfiles.h"
#include "fileswindow.h"
#include "unprivileged.h"

#include "upload_state.h"

#include <QFileInfo>
#include <QTest>
#include <optional>

using namespace oxa;
using namespace oxa::test;

namespace {

const QByteArray GoodConfiguration = "ADMIN1=+420111222\r\nADMIN2=+420333444\r\nABUTTON1=601\r\n"
                                     "PARAMOXA=5#3#1#0#1#7#2#1\r\nNovak=602\r\nDvorak=+420777000111\r\n"
                                     "Svoboda=603\r\nCerny=604\r\n";
const QByteArray GoodList = "SET:AT+CSQ\r\nfirmware.bin\r\nSET:AT#ESCRIPT=\"oxa.pyo\"\r\n";
const QByteArray GoodSettings = "[Form]\r\nWaitSer=700\r\nTop=120\r\nLeft=130\r\nOwnKey=kept\r\n"
                                "[Language]\r\nLanguage=Eng\r\nOwnText=also kept\r\n";

void addBadFileRows(const QList<BadFile> &kinds, const std::function<void(QTestData &, BadFile)> &more) {
    for (BadFile kind : kinds) {
        QTestData &row = QTest::newRow(badFileName(kind)) << int(kind);
        more(row, kind);
    }
}

const QList<BadFile> AllKinds = {BadFile::Missing,    BadFile::Folder,        BadFile::UnderAFile,
                                 BadFile::Unreadable, BadFile::Binary,        BadFile::Huge,
                                 BadFile::Truncated,  BadFile::ReadOnly,      BadFile::NoReadPermission,
#ifdef Q_OS_UNIX
                                 BadFile::Pipe,       BadFile::LinkToTerminal
#endif
};

// Permissions hold for root only through file access as an ordinary user.
bool needsUserAccess(BadFile kind) {
    return kind == BadFile::ReadOnly || kind == BadFile::NoReadPermission;
}
UnprivilegedFileAccess accessFor(BadFile kind) {
    return UnprivilegedFileAccess(needsUserAccess(kind));
}

// A pipe or a terminal is refused unopened, and the message says what it is.
bool isSpecial(BadFile kind) {
    return kind == BadFile::Pipe || kind == BadFile::LinkToTerminal;
}

// A read-only file reads as any other.
bool loads(BadFile kind) {
    return kind == BadFile::Truncated || kind == BadFile::ReadOnly;
}

} // namespace

class TestFilesOpen : public QObject {
    Q_OBJECT
private slots:
    void configurationFile_data();
    void configurationFile();
    void uploadList_data();
    void uploadList();
    void uploadStepFile_data();
    void uploadStepFile();
    void settingsFile_data();
    void settingsFile();
    void linkToAFileReadsAsTheFile();
};

// Load: a refused file leaves the boxes and the grid; a file cut short loads the lines it holds (no
// line says where the file should have ended).
void TestFilesOpen::configurationFile_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("refused");
    addBadFileRows(AllKinds, [](QTestData &row, BadFile kind) { row << !loads(kind); });
}

void TestFilesOpen::configurationFile() {
    QFETCH(int, kind);
    QFETCH(bool, refused);
    FilesWindow w;
    w.form.ctl<QLineEdit>("ADMIN1")->setText("+420999");
    w.form.appendPhoneBookRow("Before", "100");
    const auto rowsBefore = w.form.phoneBookRows();
    w.fakes.dialogs.openAnswers.enqueue(
        makeBadFile(BadFile(kind), w.folder.path(), "unit.oxa", GoodConfiguration));

    {
        const auto access = accessFor(BadFile(kind));
        w.click("Load");
    }

    if (refused) {
        QCOMPARE(w.messages().size(), 1);
        QVERIFY2(w.messages().first().contains("unit.oxa"), qPrintable(w.messages().first()));
        if (isSpecial(BadFile(kind)))
            QVERIFY2(w.messages().first().contains("not a file"), qPrintable(w.messages().first()));
        QCOMPARE(w.box("ADMIN1"), QStringLiteral("+420999"));
        QCOMPARE(w.form.phoneBookRows(), rowsBefore);
    } else {
        QCOMPARE(w.messages(), QStringList{});
        QCOMPARE(w.box("ADMIN1"), QStringLiteral("+420111222"));
        QVERIFY(w.form.phoneBookRows().contains(std::pair<QByteArray, QByteArray>{"Novak", "602"}));
        QCOMPARE(w.form.phoneBookRows().contains(std::pair<QByteArray, QByteArray>{"Cerny", "604"}),
                 BadFile(kind) != BadFile::Truncated);
    }
    QVERIFY(!w.form.handlerRunning());
}

// Load List: a refused list leaves the memo; a list cut short adds the lines it holds.
void TestFilesOpen::uploadList_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("refused");
    addBadFileRows(AllKinds, [](QTestData &row, BadFile kind) { row << !loads(kind); });
    // A list of text lines is refused for a single control byte: it is some other file.
    QTest::newRow("text with a control byte") << -1 << true;
}

void TestFilesOpen::uploadList() {
    QFETCH(int, kind);
    QFETCH(bool, refused);
    FilesWindow w;
    w.form.ctl<QPlainTextEdit>("List")->setPlainText("SET:AT");
    QString path;
    if (kind < 0) {
        path = w.path("steps.ifo");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("SET:AT+CSQ\r\nfirm\x02ware.bin\r\n");
    } else {
        path = makeBadFile(BadFile(kind), w.folder.path(), "steps.ifo", GoodList);
    }
    w.fakes.dialogs.openAnswers.enqueue(path);

    {
        const auto access = accessFor(BadFile(std::max(kind, 0)));
        w.click("LoadList");
    }

    if (refused) {
        QCOMPARE(w.messages().size(), 1);
        QVERIFY2(w.messages().first().contains("steps.ifo"), qPrintable(w.messages().first()));
        if (kind >= 0 && isSpecial(BadFile(kind)))
            QVERIFY2(w.messages().first().contains("not a file"), qPrintable(w.messages().first()));
        QCOMPARE(w.memo(), QStringLiteral("SET:AT"));
    } else {
        QCOMPARE(w.messages(), QStringList{});
        QVERIFY2(w.memo().startsWith("SET:AT\nSET:AT+CSQ\nfirmware.bin"), qPrintable(w.memo()));
        QCOMPARE(w.memo().contains("ESCRIPT"), BadFile(kind) != BadFile::Truncated);
    }
}

// A file named by the list: refused before any command goes out, with the one message of the upload.
// Binary is what such files are; a file cut short cannot be told from a short one and goes out as is.
void TestFilesOpen::uploadStepFile_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("refused");
    addBadFileRows(AllKinds,
                   [](QTestData &row, BadFile kind) { row << (kind != BadFile::Binary && !loads(kind)); });
}

void TestFilesOpen::uploadStepFile() {
    QFETCH(int, kind);
    QFETCH(bool, refused);
    FilesWindow w;
    const QByteArray script = QByteArray("print 1\r\n").repeated(40);
    const QString path = makeBadFile(BadFile(kind), w.folder.path(), "a.bin", script);
    w.form.ctl<QPlainTextEdit>("List")->setPlainText(QFileInfo(path).fileName() == "inner" ? "a.bin/inner"
                                                                                           : "a.bin");

    {
        const auto access = accessFor(BadFile(kind));
        w.click("Upgrade");
    }

    if (refused) {
        QCOMPARE(w.messages().size(), 1);
        QVERIFY2(w.messages().first().contains("Nothing was sent"), qPrintable(w.messages().first()));
        QCOMPARE(w.fakes.port.sent, QList<QByteArray>{});
        QVERIFY(!w.form.session().uploadStepWaiting());
    } else {
        QCOMPARE(w.messages(), QStringList{});
        const qint64 size = QFileInfo(path).size();
        QCOMPARE(w.fakes.port.sent,
                 QList<QByteArray>{"AT#WSCRIPT=a.bin," + QByteArray::number(size) + "\r\n"});
        QCOMPARE(w.form.session().uploadDataSize(), size);
    }
}

// The settings file: missing gives the built-in settings silently; one that is there but cannot be
// taken gives them with one message and is left exactly as it was when the program closes; one cut
// short gives what it holds and keeps it. Where the file beside the program cannot be saved, it is read
// all the same and the saving goes to the user's configuration folder.
enum class SavedTo { Beside, UserFolder, Nowhere };

void TestFilesOpen::settingsFile_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("messagesAtStart");
    QTest::addColumn<int>("messagesAtClose");
    QTest::addColumn<int>("waitSer");
    QTest::addColumn<bool>("leftAsItWas");
    QTest::addColumn<int>("savedTo");
    addBadFileRows(AllKinds, [](QTestData &row, BadFile kind) {
        switch (kind) {
        case BadFile::Missing:
            row << 0 << 0 << 1000 << false << int(SavedTo::Beside); // written at close
            break;
        case BadFile::UnderAFile:
            row << 0 << 0 << 1000 << true << int(SavedTo::UserFolder); // no folder to write it in
            break;
        case BadFile::Truncated:
            row << 0 << 0 << 700 << false << int(SavedTo::Beside); // rewritten with what it held
            break;
        case BadFile::ReadOnly:
            row << 0 << 0 << 700 << true << int(SavedTo::UserFolder); // with what it holds
            break;
        case BadFile::NoReadPermission:
            row << 1 << 0 << 1000 << true << int(SavedTo::UserFolder); // the built-in settings
            break;
        default:
            row << 1 << 0 << 1000 << true << int(SavedTo::Nowhere);
        }
    });
}

void TestFilesOpen::settingsFile() {
    QFETCH(int, kind);
    QFETCH(int, messagesAtStart);
    QFETCH(int, messagesAtClose);
    QFETCH(int, waitSer);
    QFETCH(bool, leftAsItWas);
    QFETCH(int, savedTo);
    QTemporaryDir userConfig;
    QVERIFY(openToEveryone(userConfig.path()));
    qputenv("XDG_CONFIG_HOME", userConfig.path().toLocal8Bit());
    QTemporaryDir folder;
    QString exe = folder.filePath("GSMQuend");
    QString settings = exe + ".ini";
    QString own = userConfig.filePath("OXAset/GSMQuend.ini");
    if (BadFile(kind) == BadFile::UnderAFile) {
        exe = makeBadFile(BadFile::UnderAFile, folder.path(), "GSMQuend", GoodSettings); // .../GSMQuend/inner
        settings = exe + ".ini";
        own = userConfig.filePath("OXAset/inner.ini");
    } else {
        makeBadFile(BadFile(kind), folder.path(), "GSMQuend.ini", GoodSettings);
    }
    const QByteArray before =
        stateOf(BadFile(kind) == BadFile::UnderAFile ? folder.filePath("GSMQuend") : settings);

    std::optional<UnprivilegedFileAccess> access;
    if (needsUserAccess(BadFile(kind)))
        access.emplace();
    FilesWindow w(exe);
    QCOMPARE(w.form.settingsReadPath(), settings);
    QCOMPARE(w.form.settingsPath(), SavedTo(savedTo) == SavedTo::UserFolder ? own : settings);
    QCOMPARE(w.messages().size(), messagesAtStart);
    if (messagesAtStart == 1)
        QVERIFY2(w.messages().first().contains("left as it is"), qPrintable(w.messages().first()));
    if (isSpecial(BadFile(kind)))
        QVERIFY2(w.messages().first().contains("not a file"), qPrintable(w.messages().first()));
    QCOMPARE(w.form.uploadPause(), waitSer);

    w.form.close();
    access.reset();
    qunsetenv("XDG_CONFIG_HOME");
    QCOMPARE(w.messages().size(), messagesAtStart + messagesAtClose);
    const QByteArray after =
        stateOf(BadFile(kind) == BadFile::UnderAFile ? folder.filePath("GSMQuend") : settings);
    if (leftAsItWas) {
        QCOMPARE(after, before);
    } else {
        QVERIFY2(after.contains("[Form]") && after.contains("Top="), after.constData());
        if (BadFile(kind) == BadFile::Truncated)
            QVERIFY2(after.contains("WaitSer=700") && after.contains("OwnKey=kept"), after.constData());
    }
    const QByteArray ownAfter = stateOf(own);
    if (SavedTo(savedTo) != SavedTo::UserFolder) {
        QCOMPARE(ownAfter, QByteArray("nothing"));
        return;
    }
    QVERIFY2(ownAfter.contains("[Form]") && ownAfter.contains("Top="), ownAfter.constData());
    // What could be read beside the program is carried into the user's file.
    QCOMPARE(ownAfter.contains("WaitSer=700") && ownAfter.contains("OwnKey=kept"), waitSer == 700);
}

// Only what a link leads to counts: a link to a regular file is that file.
void TestFilesOpen::linkToAFileReadsAsTheFile() {
    FilesWindow w;
    QFile file(w.path("real.oxa"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(GoodConfiguration);
    file.close();
    QVERIFY(QFile::link(w.path("real.oxa"), w.path("link.oxa")));
    w.fakes.dialogs.openAnswers.enqueue(w.path("link.oxa"));
    w.click("Load");
    QCOMPARE(w.messages(), QStringList{});
    QCOMPARE(w.box("ADMIN1"), QStringLiteral("+420111222"));
}

QTEST_MAIN(TestFilesOpen)
#include "tst_files_open.moc"
