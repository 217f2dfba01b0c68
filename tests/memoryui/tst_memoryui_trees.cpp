// The memory pages: trees filled by a read, clicks, the editors, add, write and delete, the detect box.
#include "memorywindow.h"
#include "monitor.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using namespace oxa;
using namespace oxa::test;

using Texts = QList<QByteArray>;

namespace {

// A SIM as the unit lists it: keys first, then memories, codes and ordinary rows in index order.
const QList<SimEntry> ListedSim = {
    {"1", "+420111", "ADMIN1"}, {"2", "1#0#1", "PAROXA"},
    {"28", "555", "M2-1"},      {"29", "777", "M1-2"},
    {"30", "666", "M1-1"},      {"31", "900", "M12-1"},
    {"32", "901", "M12-2"},     {"33", "902", "M112-1"},
    {"34", "5", "M-1"},         {"35", "1#0", "C246C"},
    {"36", "2#0", "C246"},      {"37", "123", "Main-2"},
    {"38", "321", "B3-2"},      {"39", "322", "B3-1"},
    {"40", "400", "Back-1"},    {"41", "2#4#**#06#**#0", "C77C"},
    {"42", "0", "DETECT"},      {"43", "600", "M12-10"},
    {"44", "601", "M12"},       {"45", "111", "Petr"},
};

} // namespace

class TestMemoryTrees : public QObject {
    Q_OBJECT
private slots:
    void readFillsEveryTreeInOrder();
    void readRebuildsSelectionTreesFromTheClickedMemory();
    void firstEntryOfReadEmptiesTreesKeysDoNot();
    void nodeAddedByOtherMeansIsPutInOrder();
    void additionKeepsTheSelectedRowNumber();
    void clickListsTheMemory_data();
    void clickListsTheMemory();
    void clickAndRefreshListTheSameEntries();
    void selectionClickFillsTheEditor_data();
    void selectionClickFillsTheEditor();
    void selectionClickWithALetterPositionStopsOnce();
    void memoryNameAndNumberFilters();
    void addTakesTheNextPosition_data();
    void addTakesTheNextPosition();
    void writeRewritesTheSelectedEntryOrCreates_data();
    void writeRewritesTheSelectedEntryOrCreates();
    void writeWithoutAPositionIsRefused();
    void deleteSendsOnlyWithANode_data();
    void deleteSendsOnlyWithANode();
    void detectBoxWritesOrDeletesThenReadsAgain_data();
    void detectBoxWritesOrDeletesThenReadsAgain();
    void readFindingTheDetectEntryOnlyShowsIt();
    void readWithoutTheDetectEntryShowsItGone();
    void grabModulePages();
};

void TestMemoryTrees::readFillsEveryTreeInOrder() {
    MemoryWindow w;
    w.form.state.SelectedMemoPrefix = "M12-";
    w.read(ListedSim);
    QCOMPARE(w.texts("TreeMemo"),
             (Texts{"34:M-1[5]", "30:M1-1[666]", "29:M1-2[777]", "33:M112-1[902]", "31:M12-1[900]",
                    "32:M12-2[901]", "28:M2-1[555]", "37:Main-2[123]"}));
    // M12-10 starts with the prefix but is no memory entry: the selection lists memory entries only.
    QCOMPARE(w.texts("TreeMemoSel"), (Texts{"31:M12-1[900]", "32:M12-2[901]"}));
    QCOMPARE(w.texts("TreeButtons"), (Texts{"39:B3-1[322]", "38:B3-2[321]", "40:Back-1[400]"}));
    QVERIFY(w.texts("TreeButtonsSel").isEmpty());
    QCOMPARE(w.texts("TreeCode"), (Texts{"35:C246C[1#0]", "41:C77C[2#4#**#06#**#0]"}));
    // DETECT with 0 is no detect entry.
    QVERIFY(w.form.configuration().detectEntry().isEmpty());
    QVERIFY(!w.form.ctl<QAbstractButton>("DetBut")->isChecked());
    QVERIFY(w.fakes.port.sent.isEmpty());
}

// A refresh after a write reads everything again; the selection trees come back from the prefixes
// that the last clicks chose, exactly as those clicks listed them.
void TestMemoryTrees::readRebuildsSelectionTreesFromTheClickedMemory() {
    MemoryWindow w;
    w.read(ListedSim);
    QVERIFY(w.click("TreeMemo", "31:M12-1[900]"));
    QVERIFY(w.click("TreeButtons", "38:B3-2[321]"));
    const Texts memoShown = w.texts("TreeMemoSel");
    const Texts buttonsShown = w.texts("TreeButtonsSel");
    QCOMPARE(buttonsShown, (Texts{"39:B3-1[322]", "38:B3-2[321]"}));

    w.read(ListedSim);
    QCOMPARE(w.texts("TreeMemoSel"), memoShown);
    QCOMPARE(w.texts("TreeButtonsSel"), buttonsShown);
    QCOMPARE(w.texts("TreeMemo").size(), 8);
}

void TestMemoryTrees::firstEntryOfReadEmptiesTreesKeysDoNot() {
    MemoryWindow w;
    w.form.state.SelectedButtonPrefix = "B3-";
    w.read({{"5", "11", "M4-1"}, {"6", "12", "B3-1"}, {"7", "1#0", "C1C"}, {"8", "1", "DETECT"}});
    QCOMPARE(w.texts("TreeMemo").size(), 1);
    QCOMPARE(w.texts("TreeButtonsSel").size(), 1);
    QCOMPARE(w.texts("TreeCode").size(), 1);
    QVERIFY(w.form.ctl<QAbstractButton>("DetBut")->isChecked());

    // The next whole listing replaces every tree and the detect box; keys join no tree.
    w.read({{"1", "x", "ADMIN1"},
            {"2", "x", "VER"},
            {"3", "x", "PARKEY"},
            {"4", "x", "ALARMOFF"},
            {"30", "900", "B3-2"}});
    QVERIFY(w.texts("TreeMemo").isEmpty());
    QVERIFY(w.texts("TreeCode").isEmpty());
    QCOMPARE(w.texts("TreeButtons"), (Texts{"30:B3-2[900]"}));
    QCOMPARE(w.texts("TreeButtonsSel"), (Texts{"30:B3-2[900]"}));
    QVERIFY(w.form.configuration().detectEntry().isEmpty());
    QVERIFY(!w.form.ctl<QAbstractButton>("DetBut")->isChecked());
    QCOMPARE(w.form.state.SelectedButtonPrefix, QByteArray("B3-"));
}

// The trees order themselves on every addition, also of a node some other code appends.
void TestMemoryTrees::nodeAddedByOtherMeansIsPutInOrder() {
    MemoryWindow w;
    w.read({{"5", "1", "M2-1"}, {"6", "2", "M1-2"}});
    QTreeWidget *tree = w.tree("TreeMemo");
    tree->addTopLevelItem(new QTreeWidgetItem(QStringList{"9:M1-1[3]"}));
    QCOMPARE(w.texts("TreeMemo"), (Texts{"9:M1-1[3]", "6:M1-2[2]", "5:M2-1[1]"}));
    QCOMPARE(tree->topLevelItemCount(), 3);
}

// Only texts move, as they did in the unit's own tools: the row number selected stays selected.
void TestMemoryTrees::additionKeepsTheSelectedRowNumber() {
    MemoryWindow w;
    w.read({{"5", "1", "M2-1"}, {"6", "2", "M3-1"}});
    QTreeWidget *tree = w.tree("TreeMemo");
    tree->setCurrentItem(tree->topLevelItem(1));
    w.form.decodeTaggedEntry("7", "3", "M1-1");
    QCOMPARE(w.texts("TreeMemo"), (Texts{"7:M1-1[3]", "5:M2-1[1]", "6:M3-1[2]"}));
    QCOMPARE(tree->selectedItems().size(), 1);
    QCOMPARE(tree->indexOfTopLevelItem(tree->selectedItems().first()), 1);
}

void TestMemoryTrees::clickListsTheMemory_data() {
    QTest::addColumn<QByteArray>("tree");
    QTest::addColumn<QByteArray>("node");
    QTest::addColumn<QByteArray>("prefix");
    QTest::addColumn<Texts>("listed");
    QTest::newRow("M12- not M1- or M112-") << QByteArray("TreeMemo") << QByteArray("31:M12-1[900]")
                                           << QByteArray("M12-") << Texts{"31:M12-1[900]", "32:M12-2[901]"};
    QTest::newRow("M1-") << QByteArray("TreeMemo") << QByteArray("29:M1-2[777]") << QByteArray("M1-")
                         << Texts{"30:M1-1[666]", "29:M1-2[777]"};
    QTest::newRow("empty memory") << QByteArray("TreeMemo") << QByteArray("34:M-1[5]") << QByteArray("M-")
                                  << Texts{"34:M-1[5]"};
    QTest::newRow("button") << QByteArray("TreeButtons") << QByteArray("39:B3-1[322]") << QByteArray("B3-")
                            << Texts{"39:B3-1[322]", "38:B3-2[321]"};
}

void TestMemoryTrees::clickListsTheMemory() {
    QFETCH(QByteArray, tree);
    QFETCH(QByteArray, node);
    QFETCH(QByteArray, prefix);
    QFETCH(Texts, listed);
    MemoryWindow w;
    w.read(ListedSim);
    const bool memo = tree == "TreeMemo";
    const char *selection = memo ? "TreeMemoSel" : "TreeButtonsSel";
    w.tree(selection)->addTopLevelItem(new QTreeWidgetItem(QStringList{"99:M9-9[9]"}));
    auto *number = w.form.ctl<QLineEdit>(memo ? "MemoPNumber" : "ButtonPNumber");
    number->setText("42");

    QVERIFY(w.click(tree.constData(), node));
    QCOMPARE(memo ? w.form.state.SelectedMemoPrefix : w.form.state.SelectedButtonPrefix, prefix);
    QCOMPARE(w.texts(selection), listed);
    QCOMPARE(number->text(), QString("42")); // the editor is left alone
}

// The selection tree lists the memory entries whose names begin with the memory's prefix, on the click
// and on every refresh alike. Not M12-10: no memory entry, and its position would read as "1", so a
// write would rename it. Not MaM12-1: another memory, whose name merely contains M12-.
void TestMemoryTrees::clickAndRefreshListTheSameEntries() {
    MemoryWindow w;
    const QList<SimEntry> sim = {{"5", "900", "M12-1"},
                                 {"6", "901", "M12-2"},
                                 {"7", "902", "MaM12-1"},
                                 {"8", "903", "M12-10"},
                                 {"9", "904", "M5-1"}};
    w.read(sim);
    QCOMPARE(w.texts("TreeMemo"), (Texts{"5:M12-1[900]", "6:M12-2[901]", "9:M5-1[904]", "7:MaM12-1[902]"}));
    QVERIFY(w.click("TreeMemo", "6:M12-2[901]"));
    const Texts memory12{"5:M12-1[900]", "6:M12-2[901]"};
    QCOMPARE(w.texts("TreeMemoSel"), memory12);
    w.read(sim);
    QCOMPARE(w.texts("TreeMemoSel"), memory12);
}

void TestMemoryTrees::selectionClickFillsTheEditor_data() {
    QTest::addColumn<bool>("memo");
    QTest::addColumn<QByteArray>("node");
    QTest::addColumn<QString>("memory");
    QTest::addColumn<QString>("position");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("label");
    QTest::newRow("memo") << true << QByteArray("5:M12-2[777]") << "12"
                          << "2"
                          << "777"
                          << "(M12-2)";
    QTest::newRow("button") << false << QByteArray("8:B3-7[+420*1#]") << "3"
                            << "7"
                            << "+420*1#"
                            << "(B3-7)";
    QTest::newRow("empty memory") << true << QByteArray("3:M-1[5]") << ""
                                  << "1"
                                  << "5"
                                  << "(M-1)";
}

void TestMemoryTrees::selectionClickFillsTheEditor() {
    QFETCH(bool, memo);
    QFETCH(QByteArray, node);
    QFETCH(QString, memory);
    QFETCH(QString, position);
    QFETCH(QString, number);
    QFETCH(QString, label);
    MemoryWindow w;
    const char *selection = memo ? "TreeMemoSel" : "TreeButtonsSel";
    w.form.ctl<QLineEdit>(memo ? "Memo" : "Button")->setText("99");
    w.form.ctl<QComboBox>(memo ? "PosMemo" : "PosButton")->setCurrentIndex(4);
    w.tree(selection)->addTopLevelItem(new QTreeWidgetItem(QStringList{QString::fromLatin1(node)}));
    QVERIFY(w.click(selection, node));
    QCOMPARE(w.form.ctl<QLineEdit>(memo ? "Memo" : "Button")->text(), memory);
    QCOMPARE(w.form.ctl<QComboBox>(memo ? "PosMemo" : "PosButton")->currentText(), position);
    QCOMPARE(w.form.ctl<QLineEdit>(memo ? "MemoPNumber" : "ButtonPNumber")->text(), number);
    QCOMPARE(w.form.ctl<QLabel>(memo ? "LabelMemo" : "LabelButton")->text(), label);
    QVERIFY(w.fakes.errors.messages.isEmpty());
}

// An entry written by other means (M12-x): the conversion message once, the rest of the click skipped.
void TestMemoryTrees::selectionClickWithALetterPositionStopsOnce() {
    MemoryWindow w;
    w.form.ctl<QLineEdit>("MemoPNumber")->setText("111");
    w.tree("TreeMemoSel")->addTopLevelItem(new QTreeWidgetItem(QStringList{"4:M12-x[555]"}));
    QVERIFY(w.click("TreeMemoSel", "4:M12-x[555]"));
    QCOMPARE(w.fakes.errors.messages, QStringList{"'x' is not a valid integer value"});
    QCOMPARE(w.form.ctl<QLineEdit>("Memo")->text(), QString("12"));
    QCOMPARE(w.form.ctl<QComboBox>("PosMemo")->currentText(), QString("1"));
    QCOMPARE(w.form.ctl<QLineEdit>("MemoPNumber")->text(), QString("111"));
}

void TestMemoryTrees::memoryNameAndNumberFilters() {
    MemoryWindow w;
    auto *memo = w.form.ctl<QLineEdit>("Memo");
    auto *label = w.form.ctl<QLabel>("LabelMemo");
    QCOMPARE(label->text(), QString("M"));
    QTest::keyClicks(memo, "12a");
    QCOMPARE(memo->text(), QString("12"));
    QCOMPARE(memo->cursorPosition(), 2);
    QCOMPARE(label->text(), QString("(M12-1)"));
    memo->setText("a12");
    QCOMPARE(memo->text(), QString());
    QCOMPARE(label->text(), QString("(M-1)"));
    memo->setText(" 1234567890123456789 ");
    QCOMPARE(memo->text(), QString("123456789012345"));

    // The position list updates the preview only once a memory is named.
    w.form.ctl<QComboBox>("PosMemo")->setCurrentIndex(2);
    QCOMPARE(label->text(), QString("(M123456789012345-3)"));
    auto *button = w.form.ctl<QLineEdit>("Button");
    button->setText("");
    w.form.ctl<QComboBox>("PosButton")->setCurrentIndex(3);
    QCOMPARE(w.form.ctl<QLabel>("LabelButton")->text(), QString("B"));

    auto *number = w.form.ctl<QLineEdit>("ButtonPNumber");
    number->setText("+420 123");
    QCOMPARE(number->text(), QString("+420"));
    w.form.ctl<QLineEdit>("MemoPNumber")->setText("*12#34x56");
    QCOMPARE(w.form.ctl<QLineEdit>("MemoPNumber")->text(), QString("*12#34"));
}

void TestMemoryTrees::addTakesTheNextPosition_data() {
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("position");
    QTest::addColumn<QString>("label");
    QTest::newRow("three") << 3 << 3 << "4"
                           << "(M12-4)";
    QTest::newRow("none") << 0 << 0 << "1"
                          << "(M12-1)";
    QTest::newRow("seven") << 7 << -1 << ""
                           << "(M12-)";
}

void TestMemoryTrees::addTakesTheNextPosition() {
    QFETCH(int, entries);
    QFETCH(int, index);
    QFETCH(QString, position);
    QFETCH(QString, label);
    MemoryWindow w;
    QList<SimEntry> sim;
    for (int i = 1; i <= entries; ++i)
        sim << SimEntry{QByteArray::number(20 + i), "55" + QByteArray::number(i),
                        "M12-" + QByteArray::number(i)};
    w.read(sim);
    if (entries > 0)
        QVERIFY(w.click("TreeMemo", "21:M12-1[551]"));
    else
        w.form.ctl<QLineEdit>("Memo")->setText("12");
    if (entries > 0)
        QVERIFY(w.click("TreeMemoSel", "21:M12-1[551]"));
    w.form.ctl<QPushButton>("AddMemo")->click();
    QVERIFY(w.tree("TreeMemoSel")->selectedItems().isEmpty());
    auto *list = w.form.ctl<QComboBox>("PosMemo");
    QCOMPARE(list->currentIndex(), index);
    QCOMPARE(list->currentText(), position);
    QCOMPARE(w.form.ctl<QLabel>("LabelMemo")->text(), label);
    QCOMPARE(w.form.ctl<QLineEdit>("Memo")->text(), QString("12"));
}

void TestMemoryTrees::writeRewritesTheSelectedEntryOrCreates_data() {
    QTest::addColumn<bool>("memo");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<QByteArray>("sent");
    QTest::newRow("memo rewrite") << true << true << QByteArray("AT+CPBW=32,777,,M12-2\r\n");
    QTest::newRow("memo create") << true << false << QByteArray("AT+CPBW=,777,,M12-2\r\n");
    QTest::newRow("button rewrite") << false << true << QByteArray("AT+CPBW=38,777,,B3-2\r\n");
    QTest::newRow("button create") << false << false << QByteArray("AT+CPBW=,777,,B3-2\r\n");
}

void TestMemoryTrees::writeRewritesTheSelectedEntryOrCreates() {
    QFETCH(bool, memo);
    QFETCH(bool, selected);
    QFETCH(QByteArray, sent);
    MemoryWindow w;
    w.read(ListedSim);
    const QByteArray node = memo ? "32:M12-2[901]" : "38:B3-2[321]";
    QVERIFY(w.click(memo ? "TreeMemo" : "TreeButtons", node));
    QVERIFY(w.click(memo ? "TreeMemoSel" : "TreeButtonsSel", node));
    if (!selected)
        w.tree(memo ? "TreeMemoSel" : "TreeButtonsSel")->clearSelection();
    w.form.ctl<QLineEdit>(memo ? "MemoPNumber" : "ButtonPNumber")->setText("777");
    w.form.ctl<QPushButton>(memo ? "WriteMemo" : "WriteButton")->click();
    QCOMPARE(w.fakes.port.sent, QList<QByteArray>{sent});
    QVERIFY(w.form.session().refreshAwaited());
}

// After Add with seven numbers there is no position left: a write would put an entry on the SIM that
// no tree lists, so it is refused and said so.
void TestMemoryTrees::writeWithoutAPositionIsRefused() {
    MemoryWindow w;
    QList<SimEntry> sim;
    for (int i = 1; i <= 7; ++i)
        sim << SimEntry{QByteArray::number(20 + i), "5", "B4-" + QByteArray::number(i)};
    w.read(sim);
    QVERIFY(w.click("TreeButtons", "21:B4-1[5]"));
    QVERIFY(w.click("TreeButtonsSel", "21:B4-1[5]"));
    w.form.ctl<QPushButton>("AddButton")->click();
    w.form.ctl<QPushButton>("WriteButton")->click();
    QVERIFY(w.fakes.port.sent.isEmpty());
    QVERIFY(!w.form.session().refreshAwaited());
    QCOMPARE(w.fakes.errors.messages.size(), 1);
    QVERIFY(w.fakes.errors.messages.first().contains("position"));

    // A typed position outside 1..7 is refused the same way; a valid one is written.
    auto *list = w.form.ctl<QComboBox>("PosButton");
    list->setEditText("8");
    w.form.ctl<QPushButton>("WriteButton")->click();
    QVERIFY(w.fakes.port.sent.isEmpty());
    list->setCurrentIndex(6);
    w.form.ctl<QPushButton>("WriteButton")->click();
    QCOMPARE(w.fakes.port.sent, QList<QByteArray>{"AT+CPBW=,5,,B4-7\r\n"});
}

// A port lost before the click is asked for again, as its message promised; a user who declines the
// choice gets that one message, and nothing waits for a re-read.
enum class DeletePort { Open, Lost, Declined };

void TestMemoryTrees::deleteSendsOnlyWithANode_data() {
    QTest::addColumn<QByteArray>("tree");
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QByteArray>("node");
    QTest::addColumn<int>("port");
    QTest::addColumn<QList<QByteArray>>("sent");
    QTest::addColumn<bool>("reReadAwaited");
    using Sent = QList<QByteArray>;
    const int open = int(DeletePort::Open);
    QTest::newRow("memo sel") << QByteArray("TreeMemoSel") << QByteArray("DelMemoSel")
                              << QByteArray("29:M1-2[777]") << open << Sent{"AT+CPBW=29\r\n"} << true;
    QTest::newRow("memo all") << QByteArray("TreeMemo") << QByteArray("DelMemo") << QByteArray("28:M2-1[555]")
                              << open << Sent{"AT+CPBW=28\r\n"} << true;
    QTest::newRow("button sel") << QByteArray("TreeButtonsSel") << QByteArray("DelButtonSel")
                                << QByteArray("39:B3-1[322]") << open << Sent{"AT+CPBW=39\r\n"} << true;
    QTest::newRow("button all") << QByteArray("TreeButtons") << QByteArray("DelButton")
                                << QByteArray("40:Back-1[400]") << open << Sent{"AT+CPBW=40\r\n"} << true;
    QTest::newRow("code") << QByteArray("TreeCode") << QByteArray("DelCode") << QByteArray("35:C246C[1#0]")
                          << open << Sent{"AT+CPBW=35\r\n"} << true;
    // The next "OK" of any command reads the unit again.
    QTest::newRow("no node") << QByteArray("TreeMemo") << QByteArray("DelMemo") << QByteArray() << open
                             << Sent{} << true;
    // Without a port nothing goes out and no port is asked for: whatever the cable leads to now, a
    // delete by an index from before is the last thing it should get. The next "OK" reads again.
    QTest::newRow("port lost") << QByteArray("TreeMemo") << QByteArray("DelMemo")
                               << QByteArray("28:M2-1[555]") << int(DeletePort::Lost) << Sent{} << true;
    QTest::newRow("code, port lost") << QByteArray("TreeCode") << QByteArray("DelCode")
                                     << QByteArray("35:C246C[1#0]") << int(DeletePort::Lost) << Sent{}
                                     << true;
    QTest::newRow("port choice would be declined")
        << QByteArray("TreeMemo") << QByteArray("DelMemo") << QByteArray("28:M2-1[555]")
        << int(DeletePort::Declined) << Sent{} << true;
}

void TestMemoryTrees::deleteSendsOnlyWithANode() {
    QFETCH(QByteArray, tree);
    QFETCH(QByteArray, button);
    QFETCH(QByteArray, node);
    QFETCH(int, port);
    QFETCH(QList<QByteArray>, sent);
    QFETCH(bool, reReadAwaited);
    MemoryWindow w;
    w.form.state.SelectedMemoPrefix = "M1-";
    w.form.state.SelectedButtonPrefix = "B3-";
    w.read(ListedSim);
    if (!node.isEmpty())
        QVERIFY(w.click(tree.constData(), node));
    if (DeletePort(port) != DeletePort::Open)
        w.fakes.port.close();
    w.fakes.port.refuseOpen = DeletePort(port) == DeletePort::Declined;
    w.form.ctl<QPushButton>(button.constData())->click();
    QCOMPARE(w.fakes.port.sent, sent);
    QCOMPARE(w.form.session().refreshAwaited(), reReadAwaited);
    const bool portOpen = DeletePort(port) == DeletePort::Open;
    QCOMPARE(w.fakes.port.portNumber(), portOpen ? 1 : 0);
    QCOMPARE(w.fakes.errors.messages.size(), portOpen ? 0 : 1);
}

void TestMemoryTrees::detectBoxWritesOrDeletesThenReadsAgain_data() {
    QTest::addColumn<QByteArray>("known");
    QTest::addColumn<bool>("switchOn");
    QTest::addColumn<QList<QByteArray>>("sent");
    using Sent = QList<QByteArray>;
    QTest::newRow("on, none known") << QByteArray() << true << Sent{"AT+CPBW=,1,,DETECT\r\n", "AT#SPN\r\n"};
    QTest::newRow("on, known") << QByteArray("12:DETECT[1]") << true
                               << Sent{"AT+CPBW=12,1,,DETECT\r\n", "AT#SPN\r\n"};
    QTest::newRow("off, known") << QByteArray("12:DETECT[1]") << false
                                << Sent{"AT+CPBW=12\r\n", "AT#SPN\r\n"};
    // No index to delete at: no half command; the read shows what the SIM holds.
    QTest::newRow("off, none known") << QByteArray() << false << Sent{"AT#SPN\r\n"};
}

void TestMemoryTrees::detectBoxWritesOrDeletesThenReadsAgain() {
    QFETCH(QByteArray, known);
    QFETCH(bool, switchOn);
    QFETCH(QList<QByteArray>, sent);
    MemoryWindow w;
    w.form.state.SelectedMemoPrefix = "M1-";
    QList<SimEntry> listed = ListedSim;
    if (!known.isEmpty())
        listed.insert(2, {"12", "1", "DETECT"});
    w.read(listed);
    auto *box = w.form.ctl<QAbstractButton>("DetBut");
    w.form.showDetectSetting(!switchOn);
    QCOMPARE(w.form.configuration().detectEntry(), known);
    w.form.ctl<QProgressBar>("Prubeh")->setValue(50);
    w.form.ctl<QWidget>("SaveOXA")->setEnabled(false);
    const QList<QByteArray> memoBefore = w.texts("TreeMemo");
    const QList<QByteArray> codesBefore = w.texts("TreeCode");
    QVERIFY(!memoBefore.isEmpty());

    box->click();
    QCOMPARE(box->isChecked(), switchOn);
    QCOMPARE(w.fakes.port.sent, sent);
    QCOMPARE(w.fakes.pause.pauses, QList<int>{500});
    // The configuration holds the entry as last listed until the read that follows lists the SIM again.
    QCOMPARE(w.form.configuration().detectEntry(), known);
    QCOMPARE(w.form.session().readState().phase(), UnitRead::Phase::Operator);
    QVERIFY(!w.form.session().refreshAwaited());
    QCOMPARE(w.form.ctl<QProgressBar>("Prubeh")->value(), 0);
    QVERIFY(w.form.ctl<QWidget>("SaveOXA")->isEnabled());
    // The change waits for its own reply only when it sent one.
    QCOMPARE(w.form.session().detectChangePending(), sent.size() == 2);
    // The trees stay until the unit lists its entries: a refused or cut-off read leaves them; the
    // first entry of the listing replaces them.
    QCOMPARE(w.texts("TreeMemo"), memoBefore);
    QCOMPARE(w.texts("TreeCode"), codesBefore);
    QCOMPARE(w.texts("TreeMemoSel").size(), 2);
}

void TestMemoryTrees::readFindingTheDetectEntryOnlyShowsIt() {
    MemoryWindow w;
    const int linesBefore = w.form.monitor()->lineCount();
    w.read({{"1", "+420", "ADMIN1"}, {"28", "555", "M2-1"}, {"29", "1", "DETECT"}});
    auto *box = w.form.ctl<QAbstractButton>("DetBut");
    QVERIFY(box->isChecked());
    QCOMPARE(w.form.configuration().detectEntry(), QByteArray("29:DETECT[1]"));
    QVERIFY(w.fakes.port.sent.isEmpty());
    QVERIFY(w.fakes.pause.pauses.isEmpty());
    QCOMPARE(w.form.monitor()->lineCount(), linesBefore + 1);
    QCOMPARE(w.form.monitor()->lines().last(), QString("29:DETECT[1]"));

    // Switching off then deletes exactly that entry.
    box->click();
    QCOMPARE(w.fakes.port.sent.value(0), QByteArray("AT+CPBW=29\r\n"));
}

// A detect entry gone from the SIM (deleted from the phone book and written back) must not leave the
// box on with an index that now names another entry.
void TestMemoryTrees::readWithoutTheDetectEntryShowsItGone() {
    MemoryWindow w;
    w.read({{"28", "555", "M2-1"}, {"29", "1", "DETECT"}});
    QVERIFY(w.form.ctl<QAbstractButton>("DetBut")->isChecked());
    w.read({{"28", "555", "M2-1"}, {"29", "777", "Petr"}});
    QVERIFY(!w.form.ctl<QAbstractButton>("DetBut")->isChecked());
    QVERIFY(w.form.configuration().detectEntry().isEmpty());
    w.read({{"28", "555", "M2-1"}, {"30", "1", "DETECT"}});
    QCOMPARE(w.form.configuration().detectEntry(), QByteArray("30:DETECT[1]"));
    QVERIFY(w.fakes.port.sent.isEmpty());
}

// With OXA_GRAB_DIR set, writes the filled module pages as PNG files for a person to look at.
void TestMemoryTrees::grabModulePages() {
    const QString folder = qEnvironmentVariable("OXA_GRAB_DIR");
    if (folder.isEmpty())
        QSKIP("OXA_GRAB_DIR not set");
    MemoryWindow w;
    QList<SimEntry> sim = ListedSim;
    for (int i = 1; i <= 7; ++i)
        sim << SimEntry{QByteArray::number(50 + i), "+42060012345" + QByteArray::number(i),
                        "B1-" + QByteArray::number(i)};
    sim << SimEntry{"60", "1#1#1111100#05#0", "C123456789012345C"} << SimEntry{"61", "1", "DETECT"};
    w.read(sim);
    w.click("TreeButtons", "51:B1-1[+420600123451]");
    w.click("TreeButtonsSel", "52:B1-2[+420600123452]");
    w.click("TreeMemo", "31:M12-1[900]");
    w.click("TreeMemoSel", "32:M12-2[901]");
    w.click("TreeCode", "60:C123456789012345C[1#1#1111100#05#0]");
    w.form.show();
    QDir().mkpath(folder);
    auto *outer = w.form.ctl<QTabWidget>("PageControl1");
    outer->setCurrentIndex(0);
    auto *modules = w.form.ctl<QTabWidget>("OXAtyp");
    modules->setCurrentWidget(w.form.ctl<QWidget>("ModuleButtons"));
    w.form.grab().save(QDir(folder).filePath("filled_ModuleButtons.png"));
    modules->setCurrentWidget(w.form.ctl<QWidget>("ModuleKeyboard"));
    auto *keyboard = w.form.ctl<QTabWidget>("PageControl3");
    keyboard->setCurrentIndex(0);
    w.form.grab().save(QDir(folder).filePath("filled_KeyBoardMemo.png"));
    keyboard->setCurrentIndex(1);
    for (int mode = 0; mode < 5; ++mode) {
        w.form.ctl<QTabWidget>("ModeCode")->setCurrentIndex(mode);
        w.form.grab().save(QDir(folder).filePath(QString("filled_KeyBoardCode_M%1.png").arg(mode)));
    }
    QCOMPARE(QDir(folder).entryList({"filled_*.png"}).size(), 7);
}

QTEST_MAIN(TestMemoryTrees)
#include "tst_memoryui_trees.moc"
