// Node texts and their fields, the shape tests that route read entries to the trees, the detect entry,
// the digit filter, selection by memory prefix, and every command line for tagged entries.
#include "commands.h"
#include "entries.h"
#include "nodetext.h"

#include <QTest>

using namespace oxa;

class TestEntries : public QObject {
    Q_OBJECT
private slots:
    void nodeFields_data();
    void nodeFields();
    void nodeTextTrimsIndex();
    void digitFilter_data();
    void digitFilter();
    void placeReadEntry_data();
    void placeReadEntry();
    void selectionByPrefix_data();
    void selectionByPrefix();
    void clickSelectionMatchesReadSelection();
    void commandLines_data();
    void commandLines();
    void deleteSendsNothingWithoutNodeOrPort();
};

void TestEntries::nodeFields_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("index");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("number");
    QTest::addColumn<QByteArray>("memory"); // tag taken from the name's first letter
    QTest::addColumn<QByteArray>("position");
    QTest::addColumn<QByteArray>("prefix");
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<QByteArray>("access");

    QTest::newRow("keypad memory") << QByteArray("7:M12-1[555]") << QByteArray("7") << QByteArray("M12-1")
                                   << QByteArray("555") << QByteArray("12") << QByteArray("1")
                                   << QByteArray("M12-") << QByteArray() << QByteArray();
    QTest::newRow("empty memory") << QByteArray("3:M-1[5]") << QByteArray("3") << QByteArray("M-1")
                                  << QByteArray("5") << QByteArray() << QByteArray("1") << QByteArray("M-")
                                  << QByteArray() << QByteArray();
    QTest::newRow("button memory") << QByteArray("12:B3-7[+420*#1]") << QByteArray("12") << QByteArray("B3-7")
                                   << QByteArray("+420*#1") << QByteArray("3") << QByteArray("7")
                                   << QByteArray("B3-") << QByteArray() << QByteArray();
    QTest::newRow("code") << QByteArray("15:C246C[2#0]") << QByteArray("15") << QByteArray("C246C")
                          << QByteArray("2#0") << QByteArray() << QByteArray() << QByteArray()
                          << QByteArray("246") << QByteArray("2#0");
    QTest::newRow("empty code") << QByteArray("4:CC[1#1#1111100#05#0]") << QByteArray("4") << QByteArray("CC")
                                << QByteArray("1#1#1111100#05#0") << QByteArray() << QByteArray()
                                << QByteArray() << QByteArray() << QByteArray("1#1#1111100#05#0");
    QTest::newRow("blank index") << QByteArray(" 9 :M1-2[1]") << QByteArray("9") << QByteArray("M1-2")
                                 << QByteArray("1") << QByteArray("1") << QByteArray("2") << QByteArray("M1-")
                                 << QByteArray() << QByteArray();
    QTest::newRow("empty number") << QByteArray("2:M5-3[]") << QByteArray("2") << QByteArray("M5-3")
                                  << QByteArray() << QByteArray("5") << QByteArray("3") << QByteArray("M5-")
                                  << QByteArray() << QByteArray();
    QTest::newRow("bytes above 127") << QByteArray("6:M\xe9-1[\xff]") << QByteArray("6")
                                     << QByteArray("M\xe9-1") << QByteArray("\xff") << QByteArray("\xe9")
                                     << QByteArray("1") << QByteArray("M\xe9-") << QByteArray()
                                     << QByteArray();
    // Malformed texts never come from the trees; their fields are simply empty.
    QTest::newRow("no markers") << QByteArray("garbage") << QByteArray() << QByteArray() << QByteArray()
                                << QByteArray() << QByteArray() << QByteArray() << QByteArray()
                                << QByteArray();
    QTest::newRow("empty") << QByteArray() << QByteArray() << QByteArray() << QByteArray() << QByteArray()
                           << QByteArray() << QByteArray() << QByteArray() << QByteArray();
    QTest::newRow("markers reversed")
        << QByteArray("]x[:M") << QByteArray("]x[") << QByteArray() << QByteArray() << QByteArray()
        << QByteArray() << QByteArray() << QByteArray() << QByteArray();
    QTest::newRow("dash at end") << QByteArray("1:M1-") << QByteArray("1") << QByteArray() << QByteArray()
                                 << QByteArray("1") << QByteArray() << QByteArray("M1-") << QByteArray()
                                 << QByteArray();
}

void TestEntries::nodeFields() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, index);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, number);
    QFETCH(QByteArray, memory);
    QFETCH(QByteArray, position);
    QFETCH(QByteArray, prefix);
    QFETCH(QByteArray, code);
    QFETCH(QByteArray, access);

    QCOMPARE(nodeIndex(text), index);
    QCOMPARE(nodeName(text), name);
    QCOMPARE(nodeNumber(text), number);
    QCOMPARE(nodeMemory(text, name.isEmpty() ? 'M' : name.at(0)), memory);
    QCOMPARE(nodePosition(text), position);
    QCOMPARE(nodeMemoryPrefix(text), prefix);
    QCOMPARE(nodeCode(text), code);
    QCOMPARE(nodeAccessField(text), access);
    // A well-formed text is rebuilt from its own fields.
    if (!name.isEmpty())
        QCOMPARE(nodeText(index, name, number),
                 trimBlanks(text.left(text.indexOf(':'))) + text.mid(text.indexOf(':')));
}

void TestEntries::nodeTextTrimsIndex() {
    QCOMPARE(nodeText(" 7 ", "M12-1", "555"), QByteArray("7:M12-1[555]"));
    QCOMPARE(nodeText("15", "C246C", "2#0"), QByteArray("15:C246C[2#0]"));
    // A memory of another kind than the node's tag is not found.
    QCOMPARE(nodeMemory("7:M12-1[555]", 'B'), QByteArray());
}

void TestEntries::digitFilter_data() {
    QTest::addColumn<QByteArray>("typed");
    QTest::addColumn<QByteArray>("kept");
    QTest::newRow("digits") << QByteArray("0123") << QByteArray("0123");
    QTest::newRow("letter inside") << QByteArray("12a34") << QByteArray("12");
    QTest::newRow("letter first") << QByteArray("a12") << QByteArray();
    QTest::newRow("blanks around") << QByteArray(" \t12\r\n") << QByteArray("12");
    QTest::newRow("control chars around") << QByteArray("\x01\x1f"
                                                        "5\x7f")
                                          << QByteArray("5");
    QTest::newRow("blank inside") << QByteArray("1 2") << QByteArray("1");
    QTest::newRow("15 kept") << QByteArray("123456789012345") << QByteArray("123456789012345");
    QTest::newRow("16 cut to 15") << QByteArray("1234567890123456") << QByteArray("123456789012345");
    QTest::newRow("long then letter") << QByteArray("12345678901234567x") << QByteArray("123456789012345");
    QTest::newRow("sign") << QByteArray("-5") << QByteArray();
    QTest::newRow("byte above 127") << QByteArray("4\xb2") << QByteArray("4");
    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("only blanks") << QByteArray("   ") << QByteArray();
}

void TestEntries::digitFilter() {
    QFETCH(QByteArray, typed);
    QFETCH(QByteArray, kept);
    QCOMPARE(oxa::digitFilter(typed), kept);
    QCOMPARE(oxa::digitFilter(QString::fromLatin1(typed)), QString::fromLatin1(kept));
}

void TestEntries::placeReadEntry_data() {
    QTest::addColumn<QByteArray>("index");
    QTest::addColumn<QByteArray>("number");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("memoPrefix");
    QTest::addColumn<QByteArray>("buttonPrefix");
    QTest::addColumn<QByteArray>("node");
    QTest::addColumn<QStringList>("trees");
    QTest::addColumn<QByteArray>("detect");

    const QByteArray none;
    QTest::newRow("M-1") << QByteArray("3") << QByteArray("5") << QByteArray("M-1") << none << none
                         << QByteArray("3:M-1[5]") << QStringList{"TreeMemo"} << none;
    QTest::newRow("C246C") << QByteArray("15") << QByteArray("1#0") << QByteArray("C246C") << none << none
                           << QByteArray("15:C246C[1#0]") << QStringList{"TreeCode"} << none;
    QTest::newRow("C246 without closing C")
        << QByteArray("15") << QByteArray("1#0") << QByteArray("C246") << none << none
        << QByteArray("15:C246[1#0]") << QStringList{} << none;
    QTest::newRow("CC") << QByteArray("2") << QByteArray("1#0") << QByteArray("CC") << none << none
                        << QByteArray("2:CC[1#0]") << QStringList{"TreeCode"} << none;
    QTest::newRow("C alone") << QByteArray("2") << QByteArray("1") << QByteArray("C") << none << none
                             << QByteArray("2:C[1]") << QStringList{} << none;
    QTest::newRow("C2C3C") << QByteArray("2") << QByteArray("1") << QByteArray("C2C3C") << none << none
                           << QByteArray("2:C2C3C[1]") << QStringList{} << none;
    QTest::newRow("Main-2") << QByteArray("8") << QByteArray("123") << QByteArray("Main-2") << none << none
                            << QByteArray("8:Main-2[123]") << QStringList{"TreeMemo"} << none;
    QTest::newRow("Back-1") << QByteArray("9") << QByteArray("123") << QByteArray("Back-1") << none << none
                            << QByteArray("9:Back-1[123]") << QStringList{"TreeButtons"} << none;
    QTest::newRow("M12-10") << QByteArray("4") << QByteArray("1") << QByteArray("M12-10") << none << none
                            << QByteArray("4:M12-10[1]") << QStringList{} << none;
    QTest::newRow("M12 without dash") << QByteArray("4") << QByteArray("1") << QByteArray("M12") << none
                                      << none << QByteArray("4:M12[1]") << QStringList{} << none;
    QTest::newRow("M alone") << QByteArray("4") << QByteArray("1") << QByteArray("M") << none << none
                             << QByteArray("4:M[1]") << QStringList{} << none;
    QTest::newRow("M12- dash last") << QByteArray("4") << QByteArray("1") << QByteArray("M12-") << none
                                    << none << QByteArray("4:M12-[1]") << QStringList{} << none;
    QTest::newRow("M-- dash twice") << QByteArray("4") << QByteArray("1") << QByteArray("M1--") << none
                                    << none << QByteArray("4:M1--[1]") << QStringList{"TreeMemo"} << none;
    QTest::newRow("lower-case tag") << QByteArray("4") << QByteArray("1") << QByteArray("m1-1") << none
                                    << none << QByteArray("4:m1-1[1]") << QStringList{} << none;
    QTest::newRow("key name") << QByteArray("1") << QByteArray("777") << QByteArray("ADMIN1") << none << none
                              << QByteArray("1:ADMIN1[777]") << QStringList{} << none;
    QTest::newRow("DETECT 1") << QByteArray(" 40") << QByteArray("1") << QByteArray("DETECT") << none << none
                              << QByteArray("40:DETECT[1]") << QStringList{} << QByteArray("40:DETECT[1]");
    QTest::newRow("DETECT 0") << QByteArray("40") << QByteArray("0") << QByteArray("DETECT") << none << none
                              << QByteArray("40:DETECT[0]") << QStringList{} << none;
    QTest::newRow("Detect 1") << QByteArray("40") << QByteArray("1") << QByteArray("Detect") << none << none
                              << QByteArray("40:Detect[1]") << QStringList{} << none;
    QTest::newRow("M12-3 with M12- chosen")
        << QByteArray("5") << QByteArray("1") << QByteArray("M12-3") << QByteArray("M12-") << none
        << QByteArray("5:M12-3[1]") << QStringList{"TreeMemo", "TreeMemoSel"} << none;
    QTest::newRow("M1-3 with M12- chosen")
        << QByteArray("5") << QByteArray("1") << QByteArray("M1-3") << QByteArray("M12-") << none
        << QByteArray("5:M1-3[1]") << QStringList{"TreeMemo"} << none;
    QTest::newRow("M112-3 with M12- chosen")
        << QByteArray("5") << QByteArray("1") << QByteArray("M112-3") << QByteArray("M12-") << none
        << QByteArray("5:M112-3[1]") << QStringList{"TreeMemo"} << none;
    // The selection tree takes every name that starts with the prefix, shape or not.
    QTest::newRow("M12-10 with M12- chosen")
        << QByteArray("5") << QByteArray("1") << QByteArray("M12-10") << QByteArray("M12-") << none
        << QByteArray("5:M12-10[1]") << QStringList{"TreeMemoSel"} << none;
    QTest::newRow("B3-2 with both chosen")
        << QByteArray("7") << QByteArray("555") << QByteArray("B3-2") << QByteArray("M3-")
        << QByteArray("B3-") << QByteArray("7:B3-2[555]") << QStringList{"TreeButtons", "TreeButtonsSel"}
        << none;
    QTest::newRow("M3-2 with both chosen")
        << QByteArray("7") << QByteArray("555") << QByteArray("M3-2") << QByteArray("M3-")
        << QByteArray("B3-") << QByteArray("7:M3-2[555]") << QStringList{"TreeMemo", "TreeMemoSel"} << none;
}

void TestEntries::placeReadEntry() {
    QFETCH(QByteArray, index);
    QFETCH(QByteArray, number);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, memoPrefix);
    QFETCH(QByteArray, buttonPrefix);
    QFETCH(QByteArray, node);
    QFETCH(QStringList, trees);
    QFETCH(QByteArray, detect);

    const EntryPlacement placement = oxa::placeReadEntry(index, number, name, memoPrefix, buttonPrefix);
    QCOMPARE(placement.nodeText, node);
    QStringList treeNames;
    for (EntryTree tree : placement.trees)
        treeNames.append(QString::fromLatin1(entryTreeName(tree)));
    QCOMPARE(treeNames, trees);
    QCOMPARE(placement.detectEntry, detect);
}

void TestEntries::selectionByPrefix_data() {
    QTest::addColumn<QByteArray>("clicked");
    QTest::addColumn<QByteArray>("prefix");
    QTest::addColumn<QList<QByteArray>>("selected");

    const QList<QByteArray> memo{"1:M1-1[1]",   "4:M12-1[555]", "5:M12-2[777]", "9:M12-2[778]",
                                 "2:M112-1[3]", "3:M2-1[4]",    "6:Main-2[5]"};
    QTest::newRow("M12- not M1- nor M112-")
        << QByteArray("4:M12-1[555]") << QByteArray("M12-")
        << QList<QByteArray>{"4:M12-1[555]", "5:M12-2[777]", "9:M12-2[778]"};
    QTest::newRow("M1-") << QByteArray("1:M1-1[1]") << QByteArray("M1-") << QList<QByteArray>{"1:M1-1[1]"};
    QTest::newRow("Main-") << QByteArray("6:Main-2[5]") << QByteArray("Main-")
                           << QList<QByteArray>{"6:Main-2[5]"};
}

void TestEntries::selectionByPrefix() {
    QFETCH(QByteArray, clicked);
    QFETCH(QByteArray, prefix);
    QFETCH(QList<QByteArray>, selected);
    const QList<QByteArray> memo{"1:M1-1[1]",   "4:M12-1[555]", "5:M12-2[777]", "9:M12-2[778]",
                                 "2:M112-1[3]", "3:M2-1[4]",    "6:Main-2[5]"};
    QCOMPARE(selectionPrefixOfNode(clicked), prefix);
    QCOMPARE(selectionNodeTexts(memo, prefix), selected);
}

void TestEntries::clickSelectionMatchesReadSelection() {
    // A refresh re-reads the SIM and rebuilds the selection tree from the remembered prefix; it must
    // show what the click showed, including for names that merely contain the prefix.
    const QList<QByteArray> names{"M12-1", "M12-2", "M1-2", "M112-1", "MaM12-1", "M12-10", "M", "M12-"};
    QList<QByteArray> texts;
    for (int i = 0; i < names.size(); ++i)
        texts.append(nodeText(QByteArray::number(i + 1), names.at(i), "5"));
    const QByteArray prefix = selectionPrefixOfNode(texts.first());
    QCOMPARE(prefix, QByteArray("M12-"));
    QList<QByteArray> readSelection;
    for (int i = 0; i < names.size(); ++i) {
        if (oxa::placeReadEntry(QByteArray::number(i + 1), "5", names.at(i), prefix, {})
                .trees.contains(EntryTree::MemoSel))
            readSelection.append(texts.at(i));
    }
    QCOMPARE(selectionNodeTexts(texts, prefix), readSelection);
    QCOMPARE(readSelection, (QList<QByteArray>{"1:M12-1[5]", "2:M12-2[5]", "6:M12-10[5]", "8:M12-[5]"}));
}

void TestEntries::commandLines_data() {
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("rewrite keypad memory")
        << rewriteMemoryCommand(MemoryKind::Keyboard, "7", "555", "12", "1")
        << QByteArray("AT+CPBW=7,555,,M12-1\r\n");
    QTest::newRow("create keypad memory") << createMemoryCommand(MemoryKind::Keyboard, "777", "12", "2")
                                          << QByteArray("AT+CPBW=,777,,M12-2\r\n");
    QTest::newRow("rewrite button memory") << rewriteMemoryCommand(MemoryKind::Button, "3", "+420#", "3", "7")
                                           << QByteArray("AT+CPBW=3,+420#,,B3-7\r\n");
    QTest::newRow("create button memory")
        << createMemoryCommand(MemoryKind::Button, "555", "", "1") << QByteArray("AT+CPBW=,555,,B-1\r\n");
    QTest::newRow("create with empty position")
        << createMemoryCommand(MemoryKind::Keyboard, "1", "12", "") << QByteArray("AT+CPBW=,1,,M12-\r\n");
    QTest::newRow("rewrite code") << rewriteCodeCommand("15", "2#0", "246")
                                  << QByteArray("AT+CPBW=15,2#0,,C246C\r\n");
    QTest::newRow("create code") << createCodeCommand("1#1#1111100#05#0", "246")
                                 << QByteArray("AT+CPBW=,1#1#1111100#05#0,,C246C\r\n");
    QTest::newRow("delete") << deleteEntryCommand("7") << QByteArray("AT+CPBW=7\r\n");
    QTest::newRow("write detect") << writeDetectCommand("40") << QByteArray("AT+CPBW=40,1,,DETECT\r\n");
    QTest::newRow("create detect") << createDetectCommand() << QByteArray("AT+CPBW=,1,,DETECT\r\n");
    QTest::newRow("bytes kept") << createMemoryCommand(MemoryKind::Keyboard, "\xe9", "1", "2")
                                << QByteArray("AT+CPBW=,\xe9,,M1-2\r\n");

    QTest::newRow("write memory, node selected")
        << memoryWriteCommand(MemoryKind::Keyboard, QByteArray("5:M12-2[777]"), "778", "12", "2")
        << QByteArray("AT+CPBW=5,778,,M12-2\r\n");
    QTest::newRow("write memory, none selected")
        << memoryWriteCommand(MemoryKind::Button, std::nullopt, "1", "4", "3")
        << QByteArray("AT+CPBW=,1,,B4-3\r\n");
    QTest::newRow("write code, node selected")
        << codeWriteCommand(QByteArray("15:C246C[2#0]"), "1#4#22#06#12#1", "77")
        << QByteArray("AT+CPBW=15,1#4#22#06#12#1,,C77C\r\n");
    QTest::newRow("write code, none selected")
        << codeWriteCommand(std::nullopt, "0#0", "") << QByteArray("AT+CPBW=,0#0,,CC\r\n");

    QTest::newRow("detect on, none known")
        << detectBoxCommand(true, {}) << QByteArray("AT+CPBW=,1,,DETECT\r\n");
    QTest::newRow("detect on, known")
        << detectBoxCommand(true, "40:DETECT[1]") << QByteArray("AT+CPBW=40,1,,DETECT\r\n");
    QTest::newRow("detect off, known")
        << detectBoxCommand(false, "40:DETECT[1]") << QByteArray("AT+CPBW=40\r\n");
    QTest::newRow("detect off, none known") << detectBoxCommand(false, {}) << QByteArray("AT+CPBW=\r\n");
}

void TestEntries::commandLines() {
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, expected);
    QCOMPARE(command, expected);
}

void TestEntries::deleteSendsNothingWithoutNodeOrPort() {
    QCOMPARE(deleteCommandFor(QByteArray("7:M12-1[555]"), 3), std::optional<QByteArray>("AT+CPBW=7\r\n"));
    QCOMPARE(deleteCommandFor(QByteArray(" 7 :M12-1[555]"), 1), std::optional<QByteArray>("AT+CPBW=7\r\n"));
    QCOMPARE(deleteCommandFor(std::nullopt, 3), std::nullopt);
    QCOMPARE(deleteCommandFor(QByteArray("7:M12-1[555]"), 0), std::nullopt);
}

QTEST_APPLESS_MAIN(TestEntries)
#include "tst_memories_entries.moc"
