// The memory editors: positions, preview labels, Add, and the fields a selection-tree click fills.
#include "memoryeditor.h"
#include "nodetext.h"

#include <QTest>

using namespace oxa;

class TestEditor : public QObject {
    Q_OBJECT
private slots:
    void positionItems();
    void addPosition_data();
    void addPosition();
    void previewLabels();
    void selectionNode_data();
    void selectionNode();
};

void TestEditor::positionItems() {
    QCOMPARE(oxa::positionItems(), (QList<QByteArray>{"1", "2", "3", "4", "5", "6", "7"}));
}

void TestEditor::addPosition_data() {
    QTest::addColumn<int>("nodes");
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("empty selection") << 0 << 0 << QByteArray("1");
    QTest::newRow("two nodes") << 2 << 2 << QByteArray("3");
    QTest::newRow("three nodes") << 3 << 3 << QByteArray("4");
    QTest::newRow("six nodes") << 6 << 6 << QByteArray("7");
    QTest::newRow("seven nodes") << 7 << -1 << QByteArray();
    QTest::newRow("nine nodes") << 9 << -1 << QByteArray();
}

void TestEditor::addPosition() {
    QFETCH(int, nodes);
    QFETCH(int, index);
    QFETCH(QByteArray, text);
    const ListChoice choice = oxa::addPosition(nodes);
    QCOMPARE(choice.index, index);
    QCOMPARE(choice.text, text);
    QVERIFY(choice.error.isEmpty());
    // The label Add then shows, with the memory already in the box.
    QCOMPARE(memoryPreviewLabel(MemoryKind::Keyboard, "12", choice.text), "(M12-" + text + ")");
}

void TestEditor::previewLabels() {
    QCOMPARE(initialMemoryLabel(MemoryKind::Keyboard), QByteArray("M"));
    QCOMPARE(initialMemoryLabel(MemoryKind::Button), QByteArray("B"));
    QCOMPARE(memoryPreviewLabel(MemoryKind::Button, "3", "2"), QByteArray("(B3-2)"));
    // Typing 12a leaves 12; typing a letter first leaves the box empty.
    QCOMPARE(memoryPreviewLabel(MemoryKind::Keyboard, digitFilter(QByteArray("12a")), "1"),
             QByteArray("(M12-1)"));
    QCOMPARE(memoryPreviewLabel(MemoryKind::Keyboard, digitFilter(QByteArray("x12")), "1"),
             QByteArray("(M-1)"));
    // A position change with an empty memory box leaves the label alone.
    QCOMPARE(labelAfterPositionChange(MemoryKind::Keyboard, "", "5"), std::nullopt);
    QCOMPARE(labelAfterPositionChange(MemoryKind::Button, "4", "5"), std::optional<QByteArray>("(B4-5)"));
}

void TestEditor::selectionNode_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("memory");
    QTest::addColumn<int>("positionIndex");
    QTest::addColumn<QByteArray>("positionText");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QByteArray>("number");

    const int keyboard = int(MemoryKind::Keyboard);
    const int button = int(MemoryKind::Button);
    QTest::newRow("M12-2") << keyboard << QByteArray("5:M12-2[777]") << QByteArray("12") << 1
                           << QByteArray("2") << QString() << QByteArray("777");
    QTest::newRow("B3-7") << button << QByteArray("12:B3-7[+420]") << QByteArray("3") << 6 << QByteArray("7")
                          << QString() << QByteArray("+420");
    QTest::newRow("M-1") << keyboard << QByteArray("3:M-1[5]") << QByteArray() << 0 << QByteArray("1")
                         << QString() << QByteArray("5");
    QTest::newRow("position 8") << keyboard << QByteArray("3:M1-8[5]") << QByteArray("1") << -1
                                << QByteArray() << QString() << QByteArray("5");
    QTest::newRow("position 0") << keyboard << QByteArray("3:M1-0[5]") << QByteArray("1") << -1
                                << QByteArray() << QString() << QByteArray("5");
    QTest::newRow("position not a digit")
        << keyboard << QByteArray("3:M12-x[5]") << QByteArray("12") << -1 << QByteArray()
        << QString("'x' is not a valid integer value") << QByteArray("5");
    QTest::newRow("position blank") << keyboard << QByteArray("3:M12- [5]") << QByteArray("12") << -1
                                    << QByteArray() << QString("' ' is not a valid integer value")
                                    << QByteArray("5");
    // The message quotes the node's bytes in the code page, as the tree shows them.
    QTest::newRow("position a letter of the code page")
        << keyboard << QByteArray("3:M12-\xf8[5]") << QByteArray("12") << -1 << QByteArray()
        << QString("'ř' is not a valid integer value") << QByteArray("5");
    QTest::newRow("memory of other letters") << keyboard << QByteArray("6:Main-2[5]") << QByteArray("ain")
                                             << 1 << QByteArray("2") << QString() << QByteArray("5");
}

void TestEditor::selectionNode() {
    QFETCH(int, kind);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, memory);
    QFETCH(int, positionIndex);
    QFETCH(QByteArray, positionText);
    QFETCH(QString, error);
    QFETCH(QByteArray, number);
    const SelectionNodeFields fields =
        readSelectionNode(MemoryKind(kind), text, *CodePageCodec::forName("windows-1250"));
    QCOMPARE(fields.memory, memory);
    QCOMPARE(fields.position.index, positionIndex);
    QCOMPARE(fields.position.text, positionText);
    QCOMPARE(fields.position.error, error);
    QCOMPARE(fields.number, number);
}

QTEST_APPLESS_MAIN(TestEditor)
#include "tst_memories_editor.moc"
