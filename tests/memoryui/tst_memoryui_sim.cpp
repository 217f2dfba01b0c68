// Memories, buttons, codes and the detect box against the in-process simulated unit: each single-entry
// write or delete is acknowledged, the "OK" starts a full read, and that read rebuilds every tree.
#include "simwindow.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

using namespace oxa;

namespace {

using Names = QList<QByteArray>;

sim::UnitOptions optionsWithSim() {
    const QList<std::pair<QByteArray, QByteArray>> entries = {
        {"ADMIN1", "+420600111222"},
        {"PAROXA", "5#3#1#0#1#7#2#1"},
        {"M12-1", "555"},
        {"M12-2", "777"},
        {"M1-1", "111"},
        {"B3-1", "321"},
        {"C246C", "1#0"},
        {"Novak", "602"},
    };
    sim::UnitOptions options = test::SimWindow::defaultOptions();
    QList<sim::IndexedEntry> content;
    int index = 1;
    for (const auto &[name, number] : entries)
        content.append({index++, sim::SimEntry{number, name}});
    options.simContent = content;
    return options;
}

// The window, stopped and read once, as a user finds it before editing.
struct ReadWindow : test::SimWindow {
    ReadWindow() : SimWindow(optionsWithSim()) {
        form.start();
        settle();
        stopAndRead();
    }

    QTreeWidget *tree(const char *name) { return form.ctl<QTreeWidget>(name); }

    // Names of a tree's nodes, top to bottom.
    Names names(const char *treeName) {
        Names result;
        QTreeWidget *t = tree(treeName);
        for (int row = 0; row < t->topLevelItemCount(); ++row) {
            const QByteArray text = t->topLevelItem(row)->text(0).toLatin1();
            result << text.mid(text.indexOf(':') + 1, text.indexOf('[') - text.indexOf(':') - 1);
        }
        return result;
    }

    QTreeWidgetItem *node(const char *treeName, const QByteArray &name) {
        QTreeWidget *t = tree(treeName);
        for (int row = 0; row < t->topLevelItemCount(); ++row)
            if (t->topLevelItem(row)->text(0).contains(':' + QString::fromLatin1(name) + '['))
                return t->topLevelItem(row);
        return nullptr;
    }

    bool click(const char *treeName, const QByteArray &name) {
        QTreeWidgetItem *item = node(treeName, name);
        if (!item)
            return false;
        tree(treeName)->setCurrentItem(item);
        emit tree(treeName)->itemClicked(item, 0);
        return true;
    }

    // Presses a button and lets the write, its "OK" and the read that follows run to their end.
    void pressAndSettle(const char *button) {
        form.ctl<QAbstractButton>(button)->click();
        settle();
    }

    // SIM entries by name, with the number each holds.
    QList<std::pair<QByteArray, QByteArray>> simEntries(const QByteArray &namePrefix) {
        QList<std::pair<QByteArray, QByteArray>> found;
        for (const sim::IndexedEntry &e : unit().sim().usedEntries())
            if (e.entry.name.startsWith(namePrefix))
                found.append({e.entry.name, e.entry.number});
        return found;
    }
};

} // namespace

class TestMemoriesOnTheUnit : public QObject {
    Q_OBJECT
private slots:
    void readFillsTheTrees();
    void keypadMemoryCreateRewriteDelete();
    void buttonMemoryRewriteKeepsItsIndex();
    void codeCreateRewriteDelete();
    void detectBoxOnAndOff();
};

void TestMemoriesOnTheUnit::readFillsTheTrees() {
    ReadWindow w;
    QCOMPARE(w.names("TreeMemo"), (Names{"M1-1", "M12-1", "M12-2"}));
    QCOMPARE(w.names("TreeButtons"), (Names{"B3-1"}));
    QCOMPARE(w.names("TreeCode"), (Names{"C246C"}));
    QVERIFY(w.names("TreeMemoSel").isEmpty());
    QVERIFY(w.errors.messages.isEmpty());
}

void TestMemoriesOnTheUnit::keypadMemoryCreateRewriteDelete() {
    ReadWindow w;
    QVERIFY(w.click("TreeMemo", "M12-2"));
    QCOMPARE(w.names("TreeMemoSel"), (Names{"M12-1", "M12-2"}));

    // A third number for memory 12: Add, a number, Write.
    QVERIFY(w.click("TreeMemoSel", "M12-1"));
    w.form.ctl<QAbstractButton>("AddMemo")->click();
    QCOMPARE(w.form.ctl<QComboBox>("PosMemo")->currentText(), QString("3"));
    w.form.ctl<QLineEdit>("MemoPNumber")->setText("+420333");
    w.pressAndSettle("WriteMemo");
    QVERIFY(!w.form.session().refreshAwaited());
    QCOMPARE(w.simEntries("M12-"), (QList<std::pair<QByteArray, QByteArray>>{
                                       {"M12-1", "555"}, {"M12-2", "777"}, {"M12-3", "+420333"}}));
    // The re-read listed the memory again from the prefix of the last click.
    QCOMPARE(w.names("TreeMemoSel"), (Names{"M12-1", "M12-2", "M12-3"}));
    QCOMPARE(w.names("TreeMemo"), (Names{"M1-1", "M12-1", "M12-2", "M12-3"}));

    // Rewrite the second number in place.
    QVERIFY(w.click("TreeMemoSel", "M12-2"));
    const QString before = w.node("TreeMemoSel", "M12-2")->text(0);
    const QString index = before.left(before.indexOf(':'));
    w.form.ctl<QLineEdit>("MemoPNumber")->setText("778");
    w.pressAndSettle("WriteMemo");
    QCOMPARE(w.node("TreeMemoSel", "M12-2")->text(0), index + ":M12-2[778]");
    QCOMPARE(w.simEntries("M12-2"), (QList<std::pair<QByteArray, QByteArray>>{{"M12-2", "778"}}));

    // Delete the first from the selection tree, then memory 1 from the tree of all memories.
    QVERIFY(w.click("TreeMemoSel", "M12-1"));
    w.pressAndSettle("DelMemoSel");
    QCOMPARE(w.names("TreeMemoSel"), (Names{"M12-2", "M12-3"}));
    QVERIFY(w.click("TreeMemo", "M1-1"));
    w.pressAndSettle("DelMemo");
    QCOMPARE(w.names("TreeMemo"), (Names{"M12-2", "M12-3"}));
    // The click chose memory 1, now gone: its selection is empty after the read.
    QVERIFY(w.names("TreeMemoSel").isEmpty());
    QVERIFY(w.simEntries("M1-").isEmpty());
    QCOMPARE(w.simEntries("Novak").size(), 1);
    QVERIFY(w.errors.messages.isEmpty());
}

void TestMemoriesOnTheUnit::buttonMemoryRewriteKeepsItsIndex() {
    ReadWindow w;
    QVERIFY(w.click("TreeButtons", "B3-1"));
    QVERIFY(w.click("TreeButtonsSel", "B3-1"));
    QCOMPARE(w.form.ctl<QLineEdit>("Button")->text(), QString("3"));
    w.form.ctl<QLineEdit>("ButtonPNumber")->setText("+420*9#");
    w.pressAndSettle("WriteButton");
    QCOMPARE(w.tree("TreeButtons")->topLevelItem(0)->text(0), QString("6:B3-1[+420*9#]"));
    QCOMPARE(w.names("TreeButtonsSel"), (Names{"B3-1"}));
    // After the refresh nothing is selected: the next write creates.
    QVERIFY(w.tree("TreeButtonsSel")->selectedItems().isEmpty());
    w.form.ctl<QComboBox>("PosButton")->setCurrentIndex(1);
    w.pressAndSettle("WriteButton");
    QCOMPARE(w.simEntries("B3-"),
             (QList<std::pair<QByteArray, QByteArray>>{{"B3-1", "+420*9#"}, {"B3-2", "+420*9#"}}));
    QCOMPARE(w.names("TreeButtonsSel"), (Names{"B3-1", "B3-2"}));
}

void TestMemoriesOnTheUnit::codeCreateRewriteDelete() {
    ReadWindow w;
    w.form.ctl<QAbstractButton>("AddCode")->click();
    w.form.ctl<QLineEdit>("CodeM2")->setText("55");
    w.form.ctl<QAbstractButton>("M2Rel2")->setChecked(true);
    w.form.ctl<QComboBox>("FromM2")->setCurrentIndex(3);
    w.form.ctl<QComboBox>("ToD2")->setCurrentIndex(29);
    w.pressAndSettle("WriteCode2");
    QCOMPARE(w.names("TreeCode"), (Names{"C246C", "C55C"}));
    QCOMPARE(w.simEntries("C55C"), (QList<std::pair<QByteArray, QByteArray>>{{"C55C", "2#2#0301#0129#0"}}));

    // Rewritten from the normal page: same entry, new mode.
    QVERIFY(w.click("TreeCode", "C55C"));
    QCOMPARE(w.form.ctl<QTabWidget>("ModeCode")->currentIndex(), 2);
    w.form.ctl<QLineEdit>("CodeM0")->setText("55");
    w.form.ctl<QAbstractButton>("M0Rel1")->setChecked(true);
    w.pressAndSettle("WriteCode0");
    QCOMPARE(w.simEntries("C55C"), (QList<std::pair<QByteArray, QByteArray>>{{"C55C", "1#0"}}));
    QCOMPARE(w.names("TreeCode"), (Names{"C246C", "C55C"}));

    QVERIFY(w.click("TreeCode", "C246C"));
    w.pressAndSettle("DelCode");
    QCOMPARE(w.names("TreeCode"), (Names{"C55C"}));
    QVERIFY(w.simEntries("C246C").isEmpty());
    QVERIFY(w.errors.messages.isEmpty());
}

void TestMemoriesOnTheUnit::detectBoxOnAndOff() {
    ReadWindow w;
    auto *box = w.form.ctl<QAbstractButton>("DetBut");
    QVERIFY(!box->isChecked());
    w.pressAndSettle("DetBut");
    // One entry, found by the read and shown without a second write.
    QCOMPARE(w.simEntries("DETECT"), (QList<std::pair<QByteArray, QByteArray>>{{"DETECT", "1"}}));
    QVERIFY(box->isChecked());
    QVERIFY(w.form.configuration().detectEntry().endsWith(":DETECT[1]"));
    QCOMPARE(w.pause.pauses.count(500), 1);
    // The read after the box rebuilt the trees.
    QCOMPARE(w.names("TreeMemo"), (Names{"M1-1", "M12-1", "M12-2"}));

    w.pressAndSettle("DetBut");
    QVERIFY(w.simEntries("DETECT").isEmpty());
    QVERIFY(!box->isChecked());
    QVERIFY(w.form.configuration().detectEntry().isEmpty());
    QCOMPARE(w.names("TreeCode"), (Names{"C246C"}));
    QCOMPARE(w.simEntries("Novak").size(), 1);
    QVERIFY(w.errors.messages.isEmpty());
}

QTEST_MAIN(TestMemoriesOnTheUnit)
#include "tst_memoryui_sim.moc"
