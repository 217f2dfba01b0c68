#include "sessionrun.h"

#include "faultwindow.h"
#include "keyentries.h"
#include "nodetext.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>

#include <limits>

namespace oxa::test {

namespace {

constexpr int SimSize = 20;
constexpr int ShortTimeoutMs = 30;

const char *kindName(SessionOp::Kind kind) {
    constexpr const char *names[] = {"read",        "whole write",   "edit key",      "add row",
                                     "delete row",  "write memory",  "delete memory", "write code",
                                     "delete code", "detect toggle", "load file",     "port loss",
                                     "refusal",     "silence",       "stray line",    "script runs"};
    return names[int(kind)];
}

sim::UnitOptions unitOptions() {
    sim::UnitOptions options;
    options.startRunning = true;
    options.timing = sim::Timing::instant();
    options.simSize = SimSize;
    const QList<std::pair<QByteArray, QByteArray>> content = {
        {"ADMIN1", "+420600111"}, {"PAROXA", "5#3#1#0#1#7#2#1"},
        {"M1-1", "111"},          {"M1-2", "112"},
        {"B3-1", "321"},          {"C12C", "1#0"},
        {"DETECT", "1"},          {"Novak", "602"},
        {"M2-1", "211"},          {"Eva", "777"}};
    QList<sim::IndexedEntry> entries;
    int index = 1;
    for (const auto &[name, number] : content)
        entries.append({index++, sim::SimEntry{number, name}});
    options.simContent = entries;
    return options;
}

struct Target {
    int index = 0;
    QByteArray name;
    QByteArray number;
};

std::optional<Target> targetOfNode(const QByteArray &node) {
    bool ok = false;
    const int index = nodeIndex(node).toInt(&ok);
    if (!ok)
        return std::nullopt;
    return Target{index, nodeName(node), nodeNumber(node)};
}

class Session {
public:
    Session() : w(unitOptions()) {
        w.onWrite = [this](const QByteArray &bytes) {
            watch(bytes);
            return true;
        };
        for (const char *timer : {"WriteTimeout", "EntryTimeout", "ReadSilence"})
            if (auto *t = w.form.findChild<QTimer *>(timer))
                t->setInterval(ShortTimeoutMs);
        w.form.session().uploadTimeout()->setInterval(ShortTimeoutMs);
        w.dialogs.confirmAnswers.enqueue(true);
        w.form.start();
        runOut();
        click("StopOXA");
        runOut();
    }

    QString failure;

    void run(const SessionOp &op) {
        const int listingsBefore = w.form.configuration().listingsApplied();
        expected.reset();
        perform(op);
        runOut();
        expected.reset();
        if (!failure.isEmpty())
            return;
        if (w.form.configuration().listingsApplied() != listingsBefore && !w.form.session().reading())
            checkWindowShowsSim();
        if (failure.isEmpty() && !w.form.session().reading() &&
            w.form.configuration().listingStale().isEmpty())
            checkIndexesMatchSim();
    }

    QString trace() {
        return QStringLiteral("listings %1, stale \"%2\", messages %3, sim %4 used\n    %5")
            .arg(w.form.configuration().listingsApplied())
            .arg(w.form.configuration().listingStale())
            .arg(w.errors.messages.size())
            .arg(w.unit().sim().usedEntries().size())
            .arg(w.form.monitor()
                     ->lines()
                     .mid(std::max<qsizetype>(0, w.form.monitor()->lineCount() - 8))
                     .join(QStringLiteral(" | ")));
    }

private:
    // Every command line the program sends passes here before the unit sees it.
    void watch(const QByteArray &bytes) {
        if (strike && --strike->commandsBefore < 0) {
            w.host->injectFault(strike->fault);
            strike.reset();
        }
        pending += bytes;
        for (qsizetype end; (end = pending.indexOf("\r\n")) >= 0;) {
            const QByteArray line = pending.left(end);
            pending.remove(0, end + 2);
            checkCommand(line);
        }
    }

    void checkCommand(const QByteArray &line) {
        if (!line.startsWith("AT+CPBW=") || line.size() < 9 || line[8] < '0' || line[8] > '9' ||
            w.form.session().writing())
            return;
        const QByteArray rest = line.mid(8);
        const int index = rest.left(rest.indexOf(',') < 0 ? rest.size() : rest.indexOf(',')).toInt();
        const std::optional<sim::SimEntry> held = w.unit().sim().entry(index);
        const QString holds = held ? QStringLiteral("%1=%2").arg(QString::fromLatin1(held->name),
                                                                 QString::fromLatin1(held->number))
                                   : QStringLiteral("nothing");
        if (!expected) {
            fail(QStringLiteral(
                     "\"%1\" went out, but nothing the user did addressed index %2 (the unit holds %3 there)")
                     .arg(QString::fromLatin1(line))
                     .arg(index)
                     .arg(holds));
        } else if (expected->index != index || !held || held->name != expected->name ||
                   held->number != expected->number) {
            fail(QStringLiteral(
                     "\"%1\" addressed index %2 for %3=%4 as the window showed it; the unit holds %5")
                     .arg(QString::fromLatin1(line))
                     .arg(index)
                     .arg(QString::fromLatin1(expected->name), QString::fromLatin1(expected->number), holds));
        }
        expected.reset();
    }

    void fail(const QString &why) {
        if (failure.isEmpty())
            failure = why;
    }

    bool idle() {
        const auto *entryTimeout = w.form.findChild<QTimer *>("EntryTimeout");
        return !w.form.handlerRunning() && !w.form.session().writing() &&
               !w.form.session().uploadStepWaiting() && !w.form.session().detectChangePending() &&
               !w.form.session().reading() && !(entryTimeout && entryTimeout->isActive()) &&
               w.line.bytesAvailable() == 0;
    }

    void runOut() {
        QElapsedTimer clock;
        clock.start();
        w.settle([&] { return idle() || clock.elapsed() > 3000; }, std::numeric_limits<int>::max());
        w.settle(300);
    }

    void click(const char *name) {
        if (auto *button = w.form.ctl<QAbstractButton>(name);
            button && button->isEnabled() && !button->isHidden())
            button->click();
    }

    QTreeWidget *tree(const char *name) { return w.form.ctl<QTreeWidget>(name); }

    // Clicks node `pick` (modulo the count) of a tree as the mouse would; its text, if any.
    std::optional<QByteArray> clickNode(const char *treeName, int pick) {
        QTreeWidget *t = tree(treeName);
        if (t->topLevelItemCount() == 0)
            return std::nullopt;
        QTreeWidgetItem *item = t->topLevelItem(pick % t->topLevelItemCount());
        t->setCurrentItem(item);
        emit t->itemClicked(item, 0);
        return item->text(0).toLatin1();
    }

    bool clickNodeText(const char *treeName, const QByteArray &text) {
        QTreeWidget *t = tree(treeName);
        const QList<QTreeWidgetItem *> found = t->findItems(QString::fromLatin1(text), Qt::MatchExactly);
        if (found.isEmpty())
            return false;
        t->setCurrentItem(found.first());
        emit t->itemClicked(found.first(), 0);
        return true;
    }

    void perform(const SessionOp &op) {
        const int a = op.a;
        const int b = op.b;
        switch (op.kind) {
        case SessionOp::Kind::Read:
            // A port lost earlier opens again with the next command that goes out.
            if (w.line.portNumber() == 0) {
                click("signal");
                runOut();
            }
            if (!w.form.ctl<QWidget>("DeviceStop")->isHidden() && w.form.ctl<QWidget>("LoadOXA")->isEnabled())
                click("LoadOXA");
            else
                click("StopOXA");
            break;
        case SessionOp::Kind::WholeWrite:
            w.dialogs.confirmAnswers.enqueue(true);
            click("SaveOXA");
            break;
        case SessionOp::Kind::EditKey:
            w.form.ctl<QLineEdit>(("ADMIN" + QByteArray::number(a % 7 + 1)).constData())
                ->setText(b % 3 == 0 ? QString() : QStringLiteral("+420%1").arg(600000 + b * 7));
            break;
        case SessionOp::Kind::AddRow: {
            auto *grid = w.form.ctl<QTableWidget>("PhoneBook1");
            if (!grid->isEnabled())
                break;
            click("LineIn");
            const int row = std::max(grid->currentRow(), 0);
            if (row < grid->rowCount() && grid->item(row, 0) && grid->item(row, 1)) {
                grid->item(row, 0)->setText(QStringLiteral("R%1").arg(b));
                grid->item(row, 1)->setText(QString::number(600000 + a * 13 + b));
            }
            break;
        }
        case SessionOp::Kind::DeleteRow: {
            auto *grid = w.form.ctl<QTableWidget>("PhoneBook1");
            if (!grid->isEnabled() || grid->rowCount() == 0)
                break;
            grid->setCurrentCell(a % grid->rowCount(), 0);
            click("LineDel");
            break;
        }
        case SessionOp::Kind::WriteMemory:
            if (a % 3 != 0 && tree("TreeMemo")->topLevelItemCount() > 0) {
                const std::optional<QByteArray> node = clickNode("TreeMemo", a);
                if (!node || !clickNodeText("TreeMemoSel", *node))
                    break;
                expected = targetOfNode(*node);
            } else {
                click("AddMemo");
                w.form.ctl<QLineEdit>("Memo")->setText(QString::number(b % 4 + 1));
            }
            w.form.ctl<QLineEdit>("MemoPNumber")->setText(QStringLiteral("77%1").arg(b));
            click("WriteMemo");
            break;
        case SessionOp::Kind::DeleteMemory:
            if (const std::optional<QByteArray> node = clickNode("TreeMemo", a)) {
                expected = targetOfNode(*node);
                click("DelMemo");
            }
            break;
        case SessionOp::Kind::WriteCode:
            if (a % 3 != 0 && tree("TreeCode")->topLevelItemCount() > 0) {
                const std::optional<QByteArray> node = clickNode("TreeCode", a);
                if (!node)
                    break;
                expected = targetOfNode(*node);
            } else {
                click("AddCode");
            }
            w.form.ctl<QTabWidget>("ModeCode")->setCurrentIndex(0);
            w.form.ctl<QLineEdit>("CodeM0")->setText(QStringLiteral("5%1").arg(b));
            click("WriteCode0");
            break;
        case SessionOp::Kind::DeleteCode:
            if (const std::optional<QByteArray> node = clickNode("TreeCode", a)) {
                expected = targetOfNode(*node);
                click("DelCode");
            }
            break;
        case SessionOp::Kind::DetectToggle:
            if (!w.form.configuration().detectEntry().isEmpty())
                expected = targetOfNode(w.form.configuration().detectEntry());
            click("DetBut");
            break;
        case SessionOp::Kind::LoadFile: {
            const QString path = w.folder.filePath(QStringLiteral("site%1.oxa").arg(a % 3));
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
                break;
            file.write("ADMIN1=+420" + QByteArray::number(700000 + b) + "\r\nR" + QByteArray::number(a) +
                       "=55" + QByteArray::number(b) + "\r\nM3-" + QByteArray::number(b % 7 + 1) +
                       "=123\r\n");
            file.close();
            w.dialogs.openAnswers.enqueue(path);
            click("Load");
            w.dialogs.openAnswers.clear();
            break;
        }
        case SessionOp::Kind::PortLoss:
            if (w.tapPort)
                emit w.tapPort->failed(QStringLiteral("the device was removed"));
            runOut();
            w.dialogs.portAnswers.clear();
            w.offerPort();
            break;
        // A fault strikes at some later command: in the middle of a write or a read as often as at its start.
        case SessionOp::Kind::Refusal:
            strike = Strike{sim::Fault{sim::Fault::Kind::Error, 1 + a % 2, 0}, b % 48};
            break;
        case SessionOp::Kind::Silence:
            strike = Strike{sim::Fault{sim::Fault::Kind::Silent, 1 + a % 2, 0}, b % 48};
            break;
        case SessionOp::Kind::StrayLine: {
            const QByteArray lines[] = {"+CPBR: (1-3),40,18",
                                        "+CPBR: 2,\"999\",129,\"ADMIN1\"",
                                        "OK",
                                        "+CPBR: 7,\"1\",129,\"M9-1\"",
                                        "ERROR",
                                        "+CPBR: 4,\"1\",129,\"DETECT\""};
            if (w.tapPort)
                w.tapPort->inject("\r\n" + lines[a % std::size(lines)] + "\r\n");
            break;
        }
        case SessionOp::Kind::ScriptRuns: {
            // The script's own changes: not a fault of the line.
            w.host->injectFault({sim::Fault::Kind::Clear, 1, 0});
            strike.reset();
            if (w.line.portNumber() == 0) {
                click("signal");
                runOut();
            }
            click("RunOXA");
            runOut();
            const int index = 1 + a % SimSize;
            const QByteArray names[] = {"M4-1", "C77C", "ADMIN2", "Petr", "M1-3", "DETECT"};
            if (b % 2 == 0)
                w.unit().sim().erase(index);
            else
                w.unit().sim().write(index,
                                     sim::SimEntry{b % 6 == 5 ? QByteArray("1") : "9" + QByteArray::number(b),
                                                   names[b % std::size(names)]});
            click("StopOXA");
            break;
        }
        case SessionOp::Kind::Count:
            break;
        }
    }

    QList<sim::IndexedEntry> simEntries() { return w.unit().sim().usedEntries(); }

    // Right after a whole listing: the grid's rows, the key boxes and the detect box are the SIM's.
    void checkWindowShowsSim() {
        QList<std::pair<QByteArray, QByteArray>> rows;
        QMap<QByteArray, QByteArray> keys;
        bool detect = false;
        for (const sim::IndexedEntry &e : simEntries()) {
            const KeyKind kind = keyKind(e.entry.name);
            if (kind == KeyKind::None)
                rows.append({e.entry.name, e.entry.number});
            else if (kind == KeyKind::EditBox)
                keys.insert(e.entry.name, e.entry.number);
            if (e.entry.name == "DETECT" && e.entry.number == "1")
                detect = true;
        }
        QList<std::pair<QByteArray, QByteArray>> shown = w.form.phoneBookRows();
        if (rows.isEmpty() && shown == QList<std::pair<QByteArray, QByteArray>>{{"", ""}})
            shown.clear();
        if (shown != rows)
            fail(QStringLiteral("after a whole listing the grid shows %1 rows, the unit holds %2 others")
                     .arg(shown.size())
                     .arg(rows.size()));
        for (const char *key : kEditBoxKeys) {
            const QString box = w.form.ctl<QLineEdit>(key)->text();
            if (box != QString::fromLatin1(keys.value(key)))
                fail(QStringLiteral("after a whole listing %1 shows \"%2\", the unit holds \"%3\"")
                         .arg(QLatin1String(key), box, QString::fromLatin1(keys.value(key))));
        }
        if (w.form.ctl<QAbstractButton>("DetBut")->isChecked() != detect)
            fail(QStringLiteral("after a whole listing the detect box disagrees with the unit"));
    }

    // While the window calls its listing current, every node and the detect entry stand in the SIM as shown.
    void checkIndexesMatchSim() {
        const auto check = [this](const QByteArray &node, const char *where) {
            const std::optional<Target> target = targetOfNode(node);
            const std::optional<sim::SimEntry> held =
                target ? w.unit().sim().entry(target->index) : std::nullopt;
            if (!held || held->name != target->name || held->number != target->number)
                fail(QStringLiteral("%1 shows %2 as current, but the unit holds %3 there")
                         .arg(QLatin1String(where), QString::fromLatin1(node),
                              held ? QString::fromLatin1(held->name + "=" + held->number)
                                   : QStringLiteral("nothing")));
        };
        for (const char *name : {"TreeButtons", "TreeButtonsSel", "TreeMemo", "TreeMemoSel", "TreeCode"}) {
            QTreeWidget *t = tree(name);
            for (int i = 0; i < t->topLevelItemCount(); ++i)
                check(t->topLevelItem(i)->text(0).toLatin1(), name);
        }
        if (!w.form.configuration().detectEntry().isEmpty())
            check(w.form.configuration().detectEntry(), "the detect box");
    }

    struct Strike {
        sim::Fault fault;
        int commandsBefore = 0;
    };

    FaultWindow w;
    std::optional<Target> expected;
    std::optional<Strike> strike;
    QByteArray pending;
};

} // namespace

QList<SessionOp> randomSession(quint32 seed, int length) {
    QRandomGenerator random(seed);
    QList<SessionOp> ops;
    // Reads come as often as a technician makes them: after almost anything that went wrong.
    constexpr int ReadWeight = 4;
    const int kinds = int(SessionOp::Kind::Count);
    for (int i = 0; i < length; ++i) {
        const int pick = random.bounded(kinds + ReadWeight - 1);
        const auto kind = pick < ReadWeight ? SessionOp::Kind::Read : SessionOp::Kind(pick - ReadWeight + 1);
        ops.append({kind, quint8(random.bounded(256)), quint8(random.bounded(256))});
    }
    return ops;
}

QList<SessionOp> sessionFromBytes(QByteArrayView bytes) {
    QList<SessionOp> ops;
    for (qsizetype i = 0; i + 2 < bytes.size(); i += 3)
        ops.append({SessionOp::Kind(quint8(bytes[i]) % int(SessionOp::Kind::Count)), quint8(bytes[i + 1]),
                    quint8(bytes[i + 2])});
    return ops;
}

QString describeSession(const QList<SessionOp> &ops) {
    QStringList steps;
    for (const SessionOp &op : ops)
        steps << QStringLiteral("%1(%2,%3)").arg(QLatin1String(kindName(op.kind))).arg(op.a).arg(op.b);
    return steps.join(QStringLiteral(", "));
}

QString runSession(const QList<SessionOp> &ops) {
    Session session;
    if (!session.failure.isEmpty())
        return QStringLiteral("before the first step: ") + session.failure;
    for (qsizetype i = 0; i < ops.size(); ++i) {
        session.run(ops[i]);
        if (qEnvironmentVariableIsSet("OXA_SESSION_TRACE"))
            qInfo("%s -> %s", kindName(ops[i].kind), qPrintable(session.trace()));
        if (!session.failure.isEmpty())
            return QStringLiteral("step %1 (%2): %3")
                .arg(i + 1)
                .arg(QLatin1String(kindName(ops[i].kind)), session.failure);
    }
    return {};
}

QList<SessionOp> shrinkSession(QList<SessionOp> ops) {
    bool shorter = true;
    while (shorter) {
        shorter = false;
        for (qsizetype chunk = std::max<qsizetype>(ops.size() / 2, 1); chunk >= 1; chunk /= 2) {
            for (qsizetype start = 0; start + chunk <= ops.size();) {
                QList<SessionOp> candidate = ops;
                candidate.remove(start, chunk);
                if (!runSession(candidate).isEmpty()) {
                    ops = candidate;
                    shorter = true;
                } else {
                    start += chunk;
                }
            }
            if (chunk == 1)
                break;
        }
    }
    return ops;
}

} // namespace oxa::test
