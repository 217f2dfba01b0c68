// The phone-book grid: rows handed over by a read, Insert Line, Delete Line and Find.
#include "pageswindow.h"

#include <QFile>
#include <QTest>

using namespace oxa;
using namespace oxa::test;

class TestPhoneBookPage : public QObject {
    Q_OBJECT
private slots:
    void rowsKeepEveryByte();
    void emptyGridShowsOneEmptyRow();
    void insertLine_data();
    void insertLine();
    void deleteLine_data();
    void deleteLine();
    void downOnTheLastRowAppends_data();
    void downOnTheLastRowAppends();
    void downWhileEditingTheLastRowKeepsTheEdit();
    void find_data();
    void find();
};

namespace {

// Fills the grid the way a loaded file does (rows made from lines, some without "=").
void loadLines(PagesWindow &w, const QByteArray &lines) {
    const QString path = w.filePath(QStringLiteral("rows.oxa"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(lines);
    file.close();
    w.fakes.dialogs.openAnswers.enqueue(path);
    w.form->LoadClick();
    QCOMPARE(w.fakes.errors.messages, QStringList());
}

void appendRows(PagesWindow &w, const QStringList &rows) {
    for (const QString &row : rows) {
        const qsizetype bar = row.indexOf('|');
        w.form->appendPhoneBookRow(row.left(bar).toLatin1(), row.mid(bar + 1).toLatin1());
    }
}

} // namespace

void TestPhoneBookPage::rowsKeepEveryByte() {
    PagesWindow w;
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    const QList<std::pair<QByteArray, QByteArray>> rows = {
        {"Gate", "+420600111222"},
        {all, all},
        // An entry whose text holds "=" goes back to the unit as it came.
        {"a=b", "123"},
        {" padded ", ""},
        {"", "555"},
    };
    for (const auto &[name, number] : rows)
        w.form->appendPhoneBookRow(name, number);
    QCOMPARE(w.form->phoneBookRows(), rows);
    QCOMPARE(w.grid()->item(1, 0)->text(), w.form->codePage().decode(all));
    QCOMPARE(w.grid()->item(2, 0)->text(), QStringLiteral("a=b"));
    QCOMPARE(w.grid()->currentRow(), 0);

    // What the user types into a cell comes out as its bytes.
    w.grid()->item(0, 1)->setText(w.form->codePage().decode("\xe9\xff 1"));
    QCOMPARE(w.form->phoneBookRows().first().second, QByteArray("\xe9\xff 1"));
}

// Like a value list, the grid never shows fewer than one row. That empty row is a row for the write
// (one "AT", no index) but no phone-book row: the first row added takes its place.
void TestPhoneBookPage::emptyGridShowsOneEmptyRow() {
    PagesWindow w;
    QCOMPARE(w.gridLines(), QStringList{"|"});
    appendRows(w, {"A|1", "B|2"});
    QCOMPARE(w.gridLines(), (QStringList{"A|1", "B|2"}));
    w.form->clearPhoneBook();
    QCOMPARE(w.gridLines(), QStringList{"|"});
    QCOMPARE(w.form->phoneBookRows(), (QList<std::pair<QByteArray, QByteArray>>{{"", ""}}));
    appendRows(w, {"C|3"});
    QCOMPARE(w.gridLines(), QStringList{"C|3"});
    QCOMPARE(w.grid()->currentRow(), 0);

    // Deleting the last row leaves the empty one, current; a read appends after nothing.
    w.button("LineDel")->click();
    QCOMPARE(w.gridLines(), QStringList{"|"});
    QCOMPARE(w.grid()->currentRow(), 0);
    appendRows(w, {"D|4"});
    QCOMPARE(w.gridLines(), QStringList{"D|4"});
}

// The grid's own keys do what the buttons do: Insert as Insert Line, Ctrl+Delete as Delete Line.
void TestPhoneBookPage::insertLine_data() {
    QTest::addColumn<bool>("byKey");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("current");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("currentAfter");
    for (const bool byKey : {false, true}) {
        const char *way = byKey ? "Insert key" : "button";
        QTest::addRow("empty grid, %s", way) << byKey << QStringList{} << -1 << QStringList{"|"} << 0;
        QTest::addRow("before the current row, %s", way)
            << byKey << QStringList{"A|1", "B|2", "C|3"} << 1 << QStringList{"A|1", "|", "B|2", "C|3"} << 1;
        QTest::addRow("before the first row, %s", way)
            << byKey << QStringList{"A|1"} << 0 << QStringList{"|", "A|1"} << 0;
        QTest::addRow("before the last row, %s", way)
            << byKey << QStringList{"A|1", "B|2"} << 1 << QStringList{"A|1", "|", "B|2"} << 1;
        QTest::addRow("current row already empty, %s", way)
            << byKey << QStringList{"A|1", "|", "B|2"} << 1 << QStringList{"A|1", "|", "B|2"} << 1;
        QTest::addRow("row with a name only, %s", way)
            << byKey << QStringList{"A|"} << 0 << QStringList{"|", "A|"} << 0;
        QTest::addRow("row with a phone only, %s", way)
            << byKey << QStringList{"|1"} << 0 << QStringList{"|", "|1"} << 0;
    }
}

void TestPhoneBookPage::insertLine() {
    QFETCH(bool, byKey);
    QFETCH(QStringList, rows);
    QFETCH(int, current);
    QFETCH(QStringList, after);
    QFETCH(int, currentAfter);
    PagesWindow w;
    appendRows(w, rows);
    w.grid()->setCurrentCell(current, 0);
    const auto insert = [&] {
        if (byKey)
            QTest::keyClick(w.grid(), Qt::Key_Insert);
        else
            w.button("LineIn")->click();
    };
    insert();
    QCOMPARE(w.gridLines(), after);
    QCOMPARE(w.grid()->currentRow(), currentAfter);
    // A second one on the new empty row adds nothing more.
    insert();
    QCOMPARE(w.gridLines(), after);
    QCOMPARE(w.fakes.errors.messages, QStringList());
}

void TestPhoneBookPage::deleteLine_data() {
    QTest::addColumn<bool>("byKey");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("current");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("currentAfter");
    for (const bool byKey : {false, true}) {
        const char *way = byKey ? "Ctrl+Delete" : "button";
        QTest::addRow("empty grid, %s", way) << byKey << QStringList{} << -1 << QStringList{"|"} << -1;
        QTest::addRow("only row, %s", way) << byKey << QStringList{"A|1"} << 0 << QStringList{"|"} << 0;
        QTest::addRow("last of several, %s", way)
            << byKey << QStringList{"A|1", "B|2", "C|3"} << 2 << QStringList{"A|1", "B|2"} << 1;
        QTest::addRow("middle row, %s", way)
            << byKey << QStringList{"A|1", "B|2", "C|3"} << 1 << QStringList{"A|1", "C|3"} << 1;
        QTest::addRow("first row, %s", way)
            << byKey << QStringList{"A|1", "B|2"} << 0 << QStringList{"B|2"} << 0;
        QTest::addRow("no current row, %s", way)
            << byKey << QStringList{"A|1", "B|2"} << -1 << QStringList{"A|1", "B|2"} << -1;
    }
}

void TestPhoneBookPage::deleteLine() {
    QFETCH(bool, byKey);
    QFETCH(QStringList, rows);
    QFETCH(int, current);
    QFETCH(QStringList, after);
    QFETCH(int, currentAfter);
    PagesWindow w;
    appendRows(w, rows);
    w.grid()->setCurrentCell(current, current < 0 ? -1 : 1);
    if (byKey)
        QTest::keyClick(w.grid(), Qt::Key_Delete, Qt::ControlModifier);
    else
        w.button("LineDel")->click();
    QCOMPARE(w.gridLines(), after);
    QCOMPARE(w.grid()->currentRow(), currentAfter);
    QCOMPARE(w.fakes.errors.messages, QStringList());
}

void TestPhoneBookPage::downOnTheLastRowAppends_data() {
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("current");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("currentAfter");
    QTest::newRow("last row") << QStringList{"A|1", "B|2"} << 1 << QStringList{"A|1", "B|2", "|"} << 2;
    QTest::newRow("last row with a name only") << QStringList{"A|"} << 0 << QStringList{"A|", "|"} << 1;
    QTest::newRow("last row empty") << QStringList{"A|1", "|"} << 1 << QStringList{"A|1", "|"} << 1;
    QTest::newRow("empty grid") << QStringList{} << 0 << QStringList{"|"} << 0;
    // Elsewhere Down only moves down.
    QTest::newRow("not the last row") << QStringList{"A|1", "B|2"} << 0 << QStringList{"A|1", "B|2"} << 1;
}

// Down on the last row appends an empty row, as in a value list; on that new empty row it adds no more.
void TestPhoneBookPage::downOnTheLastRowAppends() {
    QFETCH(QStringList, rows);
    QFETCH(int, current);
    QFETCH(QStringList, after);
    QFETCH(int, currentAfter);
    PagesWindow w;
    w.form->show();
    appendRows(w, rows);
    w.grid()->setCurrentCell(current, 1);
    QTest::keyClick(w.grid(), Qt::Key_Down);
    QCOMPARE(w.gridLines(), after);
    QCOMPARE(w.grid()->currentRow(), currentAfter);
    QCOMPARE(w.grid()->currentColumn(), 1);
    if (after.at(currentAfter) == "|") {
        QTest::keyClick(w.grid(), Qt::Key_Down);
        QCOMPARE(w.gridLines(), after);
    }
    QCOMPARE(w.fakes.errors.messages, QStringList());
}

// Typing into the last row and pressing Down keeps what was typed and opens a new row below.
void TestPhoneBookPage::downWhileEditingTheLastRowKeepsTheEdit() {
    PagesWindow w;
    w.form->show();
    appendRows(w, {"A|1"});
    w.grid()->setCurrentCell(0, 1);
    w.grid()->editItem(w.grid()->item(0, 1));
    auto *editor = w.grid()->findChild<QLineEdit *>();
    QVERIFY(editor);
    QTest::keyClicks(editor, "23");
    QTest::keyClick(editor, Qt::Key_Down);
    QCOMPARE(w.gridLines(), (QStringList{"A|23", "|"})); // the editor opens with its text selected
    QCOMPARE(w.grid()->currentRow(), 1);
}

void TestPhoneBookPage::find_data() {
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<int>("found"); // -1: nothing found, the current row stays where it was (row 0)
    const QByteArray book = "Home=1\r\nGate=555\r\nno separator\r\n=777\r\ngate=666\r\n";
    QTest::newRow("letter case ignored") << book << "gate" << 1;
    QTest::newRow("upper case") << book << "HOME" << 0;
    QTest::newRow("whole names only") << book << "Gat" << -1;
    QTest::newRow("longer than a name") << book << "Gates" << -1;
    QTest::newRow("blank is not trimmed") << book << "Gate " << -1;
    QTest::newRow("empty finds a row with an empty name") << book << "" << 3;
    QTest::newRow("empty never finds a line without =") << QByteArray("A=1\r\nno separator\r\n") << "" << -1;
    QTest::newRow("high bytes") << QByteArray("x=1\r\n\xc8\xe1p=2\r\n") << QString::fromLatin1("\xe8\xc1P")
                                << 1;
}

void TestPhoneBookPage::find() {
    QFETCH(QByteArray, lines);
    QFETCH(QString, wanted);
    QFETCH(int, found);
    PagesWindow w;
    loadLines(w, lines);
    QCOMPARE(w.grid()->currentRow(), 0);
    w.edit("FindN")->setText(wanted);
    w.edit("FindN")->setFocus();
    w.button("Find")->click();
    QCOMPARE(w.grid()->currentRow(), found < 0 ? 0 : found);
    QCOMPARE(w.form->focusWidget() == w.grid(), found >= 0);
    QCOMPARE(w.fakes.errors.messages, QStringList());
}

QTEST_MAIN(TestPhoneBookPage)
#include "tst_pages_phonebook.moc"
