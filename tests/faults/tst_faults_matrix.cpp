// Every operation on the unit against every fault of the line or the unit, struck in the middle of the
// operation. Each cell must end clean: no handler stuck, nothing locked, at most one message (exactly
// one where the operation did not complete), the window's configuration as before, and the same
// operation going through once the fault is gone. The matrix is printed.
//
// "As before" per operation:
//   read            the window as before, or as the unit holds it when the listing came through
//                   (a read replaces the window's content by the unit's, nothing else); a read that
//                   merely stops (refusal, silence) says nothing, as reads never did
//   write           the window exactly as before, the user's unsaved edit included
//   memory / code   the window exactly as before, or showing the completed change when the unit made
//   / detect box    it and the re-read came through
//   upload          the window's configuration untouched
#include "faultwindow.h"

#include "portlayer.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

using namespace oxa;

namespace {

enum class Op { Read, Write, MemoryWrite, MemoryDelete, CodeWrite, CodeDelete, DetectBox, Upload };
enum class Strike { Error, CmeError, Silence, Garbage, Endless, HangUp, PortLost, SendRefused };

const char *opName(Op op) {
    constexpr const char *names[] = {"read",       "write",       "memory write", "memory delete",
                                     "code write", "code delete", "detect box",   "upload"};
    return names[int(op)];
}

const char *strikeName(Strike strike) {
    constexpr const char *names[] = {"ERROR",   "+CME ERROR", "silence",   "garbage",
                                     "endless", "hang-up",    "port lost", "send refused"};
    return names[int(strike)];
}

// The command at which the fault strikes: mid-way through the operation, and for the single-entry
// changes once at the change itself and once inside the re-read that follows it.
QByteArray triggerOf(Op op) {
    switch (op) {
    case Op::Read:
        return "AT+CPBR=1,";
    case Op::Write:
        return "AT+CPBW=3,";
    case Op::MemoryWrite:
    case Op::CodeWrite:
    case Op::DetectBox:
        return "AT+CPBW=";
    case Op::MemoryDelete:
        return "AT#SPN";
    case Op::CodeDelete:
        return "AT+CPBR=1,";
    case Op::Upload:
        return "AT#WSCRIPT=";
    }
    return {};
}

// A fault inside a read (the operation itself or the re-read after a change) stops the read where it
// is; a read has no end of its own and reports nothing then. Everything else ends with one message.
bool strikesARead(Op op) {
    return op == Op::Read || op == Op::MemoryDelete || op == Op::CodeDelete;
}

const QList<std::pair<QByteArray, QByteArray>> SimContent = {
    {"ADMIN1", "+420600111222"},
    {"ABUTTON1", "601"},
    {"ABUTTON2", "602"},
    {"ALARMON", "Alarm on"},
    {"PAROXA", "5#3#1#0#1#7#2#1"},
    {"PARRL1", "51#1#05#1"},
    {"PARRL2", "62#1#03#0"},
    {"PARKEY", "3#1"},
    {"M12-1", "555"},
    {"M12-2", "777"},
    {"M1-1", "111"},
    {"B3-1", "321"},
    {"C246C", "1#0"},
    {"Novak", "602"},
    {"Dvorak", "+420777000111"},
};

sim::UnitOptions unitOptions() {
    sim::UnitOptions options;
    options.startRunning = true;
    options.timing = sim::Timing::instant();
    options.simSize = 60;
    QList<sim::IndexedEntry> content;
    int index = 1;
    for (const auto &[name, number] : SimContent)
        content.append({index++, sim::SimEntry{number, name}});
    options.simContent = content;
    return options;
}

// What the user has in the window: every edit box, check box, the held parameter strings, the grid
// and the five trees.
struct Snapshot {
    QMap<QString, QString> boxes;
    QMap<QString, bool> checks;
    QList<QByteArray> strings;
    QList<std::pair<QByteArray, QByteArray>> rows;
    QMap<QString, QStringList> trees;
    bool operator==(const Snapshot &) const = default;

    // The first difference, for the failure message.
    QString differenceTo(const Snapshot &other) const {
        for (auto it = boxes.cbegin(); it != boxes.cend(); ++it)
            if (other.boxes.value(it.key()) != it.value())
                return QStringLiteral("box %1: \"%2\" became \"%3\"")
                    .arg(it.key(), it.value(), other.boxes.value(it.key()));
        for (auto it = checks.cbegin(); it != checks.cend(); ++it)
            if (other.checks.value(it.key()) != it.value())
                return QStringLiteral("check box %1 changed").arg(it.key());
        if (strings != other.strings)
            return QStringLiteral("parameter strings changed");
        if (rows != other.rows)
            return QStringLiteral("grid: %1 rows became %2").arg(rows.size()).arg(other.rows.size());
        for (auto it = trees.cbegin(); it != trees.cend(); ++it)
            if (other.trees.value(it.key()) != it.value())
                return QStringLiteral("tree %1: [%2] became [%3]")
                    .arg(it.key(), it.value().join(' '), other.trees.value(it.key()).join(' '));
        return {};
    }
};

Snapshot snapshot(const TForm1 &form) {
    Snapshot s;
    for (const QLineEdit *box : form.findChildren<QLineEdit *>())
        if (!box->objectName().isEmpty() && !qobject_cast<QComboBox *>(box->parent()))
            s.boxes.insert(box->objectName(), box->text());
    for (const QAbstractButton *button : form.findChildren<QAbstractButton *>())
        if (button->isCheckable() && !button->objectName().isEmpty())
            s.checks.insert(button->objectName(), button->isChecked());
    s.strings = {form.configuration().strings().paroxa, form.configuration().strings().parrl1,
                 form.configuration().strings().parrl2, form.configuration().strings().parkey};
    s.rows = form.phoneBookRows();
    for (const char *name : {"TreeButtons", "TreeButtonsSel", "TreeMemo", "TreeMemoSel", "TreeCode"}) {
        QStringList texts;
        const auto *tree = form.ctl<QTreeWidget>(name);
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            texts << tree->topLevelItem(i)->text(0);
        s.trees.insert(QLatin1String(name), texts);
    }
    return s;
}

constexpr const char *LockableControls[] = {"SaveOXA",   "LoadOXA", "RunOXA",  "StopOXA",
                                            "Save",      "Load",    "signal",  "Buttons",
                                            "PhoneBook", "seting",  "service", "KeyBoardParams"};

QString lockedControl(const TForm1 &form) {
    for (const char *name : LockableControls)
        if (!form.ctl<QWidget>(name)->isEnabled())
            return QLatin1String(name);
    return {};
}

// The window, read once, as a user finds it before the operation.
struct MatrixWindow : test::FaultWindow {
    MatrixWindow() : FaultWindow(unitOptions()) {
        previousFolder = QDir::currentPath();
        QDir::setCurrent(folder.path());
        form.findChild<QTimer *>("WriteTimeout")->setInterval(20);
        form.session().uploadTimeout()->setInterval(20);
        if (auto *entryTimeout = form.findChild<QTimer *>("EntryTimeout"))
            entryTimeout->setInterval(20);
        form.findChild<QTimer *>("ReadSilence")->setInterval(20);
        form.start();
        settle();
        form.StopOXAClick();
        settle();
    }
    ~MatrixWindow() { QDir::setCurrent(previousFolder); }

    bool simHas(const QByteArray &name, const QByteArray &number = {}) {
        for (const sim::IndexedEntry &e : unit().sim().usedEntries())
            if (e.entry.name == name && (number.isEmpty() || e.entry.number == number))
                return true;
        return false;
    }
    bool treeHas(const char *treeName, const QByteArray &name) {
        const auto *tree = form.ctl<QTreeWidget>(treeName);
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            if (tree->topLevelItem(i)->text(0).contains(':' + QString::fromLatin1(name) + '['))
                return true;
        return false;
    }
    bool clickNode(const char *treeName, const QByteArray &name) {
        auto *tree = form.ctl<QTreeWidget>(treeName);
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            QTreeWidgetItem *item = tree->topLevelItem(i);
            if (item->text(0).contains(':' + QString::fromLatin1(name) + '[')) {
                tree->setCurrentItem(item);
                emit tree->itemClicked(item, 0);
                return true;
            }
        }
        return false;
    }
    void click(const char *name) { form.ctl<QAbstractButton>(name)->click(); }

    // Nothing of the operation waits any more: no handler, no sequence, no re-read asked for.
    bool idle() const {
        return !form.handlerRunning() && !form.session().writing() && !form.session().uploadStepWaiting() &&
               !form.session().refreshAwaited() && !form.session().detectChangePending() &&
               !form.session().reading();
    }
    // Lets the operation run out, its time-outs included (shortened above): bounded, never a sleep.
    void runOut() {
        QElapsedTimer clock;
        clock.start();
        settle([&] { return idle() || clock.elapsed() > 3000; }, std::numeric_limits<int>::max());
        settle(4000);
    }

    QString previousFolder;
};

// The user's input for the operation, then the click that starts it.
void prepare(MatrixWindow &w, Op op) {
    switch (op) {
    case Op::Read:
    case Op::DetectBox:
        break;
    case Op::Write:
        w.form.ctl<QLineEdit>("ADMIN2")->setText("+420600333444");
        break;
    case Op::MemoryWrite:
        w.clickNode("TreeMemo", "M12-1");
        w.clickNode("TreeMemoSel", "M12-1");
        w.click("AddMemo");
        w.form.ctl<QLineEdit>("MemoPNumber")->setText("+420333");
        break;
    case Op::MemoryDelete:
        w.clickNode("TreeMemo", "M1-1");
        break;
    case Op::CodeWrite:
        w.click("AddCode");
        w.form.ctl<QLineEdit>("CodeM2")->setText("55");
        break;
    case Op::CodeDelete:
        w.clickNode("TreeCode", "C246C");
        break;
    case Op::Upload: {
        QFile file(w.folder.filePath("a.bin"));
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray("print 1\r\n").repeated(50));
        file.close();
        w.form.ctl<QPlainTextEdit>("List")->setPlainText("SET:AT+CSQ\na.bin\nSET:AT");
        break;
    }
    }
}

void start(MatrixWindow &w, Op op) {
    constexpr const char *buttons[] = {"LoadOXA",    "SaveOXA", "WriteMemo", "DelMemo",
                                       "WriteCode2", "DelCode", "DetBut",    "Upgrade"};
    w.click(buttons[int(op)]);
}

// The operation's effect is in the unit (and, for those that show it, in the window).
bool succeeded(MatrixWindow &w, Op op) {
    // A change shows only through a re-read that came through: the grid holds the unit's rows again.
    const bool reRead = w.form.phoneBookRows().contains(std::pair<QByteArray, QByteArray>{"Novak", "602"});
    switch (op) {
    case Op::Read:
        return w.form.ctl<QLineEdit>("ADMIN1")->text() == "+420600111222" &&
               w.form.phoneBookRows().contains(std::pair<QByteArray, QByteArray>{"Novak", "602"});
    case Op::Write:
        return w.simHas("ADMIN2", "+420600333444");
    case Op::MemoryWrite:
        return reRead && w.simHas("M12-3", "+420333") && w.treeHas("TreeMemo", "M12-3");
    case Op::MemoryDelete:
        return reRead && !w.simHas("M1-1") && !w.treeHas("TreeMemo", "M1-1");
    case Op::CodeWrite:
        return reRead && w.simHas("C55C") && w.treeHas("TreeCode", "C55C");
    case Op::CodeDelete:
        return reRead && !w.simHas("C246C") && !w.treeHas("TreeCode", "C246C");
    case Op::DetectBox:
        return reRead && w.simHas("DETECT", "1") && w.form.ctl<QAbstractButton>("DetBut")->isChecked();
    case Op::Upload:
        return w.unit().files().file("a.bin") == QByteArray("print 1\r\n").repeated(50);
    }
    return false;
}

// Arms the fault for the first command of the operation that starts with its trigger.
void arm(MatrixWindow &w, Op op, Strike strike) {
    const QByteArray trigger = triggerOf(op);
    auto armed = std::make_shared<bool>(true);
    w.onWrite = [&w, trigger, strike, armed](const QByteArray &bytes) {
        if (!*armed || !bytes.startsWith(trigger))
            return true;
        *armed = false;
        switch (strike) {
        case Strike::Error:
            w.host->injectFault({sim::Fault::Kind::Error, 1, 0});
            break;
        case Strike::CmeError:
            w.host->injectFault({sim::Fault::Kind::CmeError, 1, 21});
            break;
        case Strike::Silence:
            w.host->injectFault({sim::Fault::Kind::Silent, 1000, 0});
            break;
        case Strike::Garbage:
            w.host->injectFault({sim::Fault::Kind::Garbage, 300, 0});
            break;
        case Strike::Endless:
            w.host->injectFault({sim::Fault::Kind::Endless, 0, 0});
            break;
        case Strike::HangUp:
            w.host->injectFault({sim::Fault::Kind::HangUp, 1, 0});
            break;
        case Strike::PortLost:
            // The adapter is pulled out: the command goes nowhere and the driver reports the loss.
            QTimer::singleShot(0, &w.line, [&w] {
                if (w.tapPort)
                    emit w.tapPort->failed(QStringLiteral("the device was removed"));
            });
            return false;
        case Strike::SendRefused:
            throw PortError(QStringLiteral("The serial driver refused the bytes."));
        }
        return true;
    };
}

} // namespace

class TestFaultMatrix : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qInfo("%-14s %-13s -> outcome", "operation", "fault"); }
    void cell_data();
    void cell();
};

void TestFaultMatrix::cell_data() {
    QTest::addColumn<int>("op");
    QTest::addColumn<int>("strike");
    for (int op = int(Op::Read); op <= int(Op::Upload); ++op)
        for (int strike = int(Strike::Error); strike <= int(Strike::SendRefused); ++strike)
            QTest::addRow("%s / %s", opName(Op(op)), strikeName(Strike(strike))) << op << strike;
}

void TestFaultMatrix::cell() {
    QFETCH(int, op);
    QFETCH(int, strike);
    const Op operation = Op(op);
    const Strike fault = Strike(strike);
    QStringList problems;

    MatrixWindow w;
    QVERIFY2(w.errors.messages.isEmpty(), qPrintable(w.errors.messages.join('\n')));
    QVERIFY(w.treeHas("TreeCode", "C246C"));
    prepare(w, operation);
    const Snapshot before = snapshot(w.form);
    arm(w, operation, fault);
    start(w, operation);
    w.runOut();

    const bool done = succeeded(w, operation);
    const Snapshot after = snapshot(w.form);
    const int messages = int(w.errors.messages.size());
    if (!w.idle())
        problems << QStringLiteral("still busy (write %1, upload %2, re-read %3)")
                        .arg(w.form.session().writing())
                        .arg(w.form.session().uploadStepWaiting())
                        .arg(w.form.session().refreshAwaited() || w.form.session().detectChangePending());
    if (const QString locked = lockedControl(w.form); !locked.isEmpty())
        problems << QStringLiteral("%1 locked").arg(locked);
    if (w.errors.messages.join('\n').contains(QLatin1String("..")))
        problems << QStringLiteral("a message ends its sentence twice");
    if (messages > 1)
        problems << QStringLiteral("%1 messages: %2").arg(messages).arg(w.errors.messages.join(" | "));
    if (fault == Strike::Garbage) {
        if (!done || messages != 0)
            problems << QStringLiteral("noise on the line spoiled the operation");
    } else if (!done && messages == 0 && !strikesARead(operation)) {
        problems << QStringLiteral("failed without a word");
    }
    if (!(after == before) && !done)
        problems << QStringLiteral("window changed: %1").arg(before.differenceTo(after));

    // A file step cut off before its prompt leaves a module that may count the file's bytes still; it
    // takes whatever comes next as the file, for as long as it likes (the program cannot know how many
    // bytes it waits for). The message must say so and ask for a restart, which is what the user does.
    const bool moduleMayWaitForData = operation == Op::Upload && fault == Strike::Endless;
    if (moduleMayWaitForData && !w.errors.messages.value(0).contains("switch the unit off and on"))
        problems << QStringLiteral("the message does not say that the module may still wait for the file");

    // The fault goes away; the user tries again (a lost port is chosen again when asked).
    w.onWrite = nullptr;
    w.host->injectFault({sim::Fault::Kind::Clear, 1, 0});
    w.runOut();
    if (moduleMayWaitForData) {
        w.unit().reboot();
        w.host->advance(60000);
        w.runOut();
    }
    const int messagesBefore = int(w.errors.messages.size());
    if (w.line.portNumber() == 0)
        w.offerPort();
    if (operation == Op::Read) {
        w.form.ctl<QLineEdit>("ADMIN1")->setText("999");
        w.form.clearPhoneBook();
    }
    // A message that asks for a read first is followed: what the window shows may be out of date.
    if (w.errors.messages.join('\n').contains(QLatin1String("(Load)"))) {
        w.click("LoadOXA");
        w.runOut();
    }
    // A change the unit made while the fault struck shows once the held replies came through.
    if (!succeeded(w, operation) || operation == Op::Read || operation == Op::Upload) {
        prepare(w, operation);
        start(w, operation);
        w.runOut();
    }
    if (!succeeded(w, operation))
        problems << QStringLiteral("the retry did not go through");
    if (w.errors.messages.size() != messagesBefore)
        problems
            << QStringLiteral("the retry said: %1").arg(w.errors.messages.mid(messagesBefore).join(" | "));
    if (!w.idle() || !lockedControl(w.form).isEmpty())
        problems << QStringLiteral("not idle after the retry");

    const QString outcome = problems.isEmpty() ? QStringLiteral("clean (%1, %2 message%3)")
                                                     .arg(done ? "completed" : "stopped")
                                                     .arg(messages)
                                                     .arg(messages == 1 ? "" : "s")
                                               : QStringLiteral("NOT CLEAN: ") + problems.join("; ");
    qInfo("%-14s %-13s -> %s", opName(operation), strikeName(fault), qPrintable(outcome));
    if (messages == 1)
        qInfo("%-28s    \"%s\"", "", qPrintable(w.errors.messages.first()));
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join("; ")));
}

QTEST_MAIN(TestFaultMatrix)
#include "tst_faults_matrix.moc"
