// A write that cannot finish does not start: everything the unit would refuse, or that would not fit, is
// found before the first command; no field can change the structure of the command it goes into; and a
// refusal names the command it answered.
#include "entryfieldeditor.h"
#include "safetywindow.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace oxa;
using namespace oxa::test;

using Rows = QList<std::pair<QByteArray, QByteArray>>;

class TestSafetyWrite : public QObject {
    Q_OBJECT
private slots:
    void writeThatCannotFinishDoesNotStart_data();
    void writeThatCannotFinishDoesNotStart();
    void gridRefusesCharactersThatWouldBreakTheCommand();
    void loadRefusesEntriesThatWouldBreakTheCommand();
    void refusalNamesTheCommandItAnswered();
    void cellsTheUnitCouldNotStoreAreMarked();
};

void TestSafetyWrite::writeThatCannotFinishDoesNotStart_data() {
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<QStringList>("named");
    QTest::newRow("name of 31 characters")
        << Rows{{QByteArray(31, 'N'), "123"}} << QStringList{QString(31, 'N'), "31 characters", "at most 18"};
    QTest::newRow("number of 41 digits")
        << Rows{{"Jan", QByteArray(41, '5')}} << QStringList{"Jan", "41 characters", "at most 40"};
    Rows fifty;
    for (int i = 0; i < 50; ++i)
        fifty.append({"Row" + QByteArray::number(i), "1" + QByteArray::number(i)});
    // The SIM has 40 indexes; the key ADMIN1 takes one: rows 40 to 50 do not fit.
    QTest::newRow("50 rows into a 40-entry SIM") << fifty << QStringList{"Row39", "no SIM index", "and"};
    QTest::newRow("comma in a number") << Rows{{"Jan", "1,145,\"INJ\""}} << QStringList{"Jan", "a comma"};
    QTest::newRow("quote in a name") << Rows{{"Jan \"Big\"", "1"}} << QStringList{"a double quote"};
    QTest::newRow("semicolon in a name") << Rows{{"Jan;AT+CPBW=1", "1"}} << QStringList{"a semicolon"};
    QTest::newRow("tab in a name") << Rows{{"Jan\tNovak", "1"}} << QStringList{"a tab"};
}

void TestSafetyWrite::writeThatCannotFinishDoesNotStart() {
    QFETCH(Rows, rows);
    QFETCH(QStringList, named);
    SafetyWindow w;
    w.form.clearPhoneBook();
    for (const auto &[name, number] : rows)
        w.form.appendPhoneBookRow(name, number);
    w.form.ctl<QPushButton>("SaveOXA")->click();
    QCOMPARE(w.fakes.port.sent, QList<QByteArray>{});
    QVERIFY(!w.form.session().writing());
    QVERIFY(w.form.ctl<QWidget>("Buttons")->isEnabled());
    QCOMPARE(w.fakes.errors.messages.size(), 1);
    for (const QString &part : named)
        QVERIFY2(w.fakes.errors.messages.first().contains(part), qPrintable(w.fakes.errors.messages.first()));
    // No backup is kept for a write that never started.
    QVERIFY(!QDir(w.folder.filePath("backups")).exists());
}

// Typed or pasted into a cell, a character that would split or end the command is not taken; a hint
// beside the cell names the entry and the character.
void TestSafetyWrite::gridRefusesCharactersThatWouldBreakTheCommand() {
    SafetyWindow w;
    auto *grid = w.form.ctl<QTableWidget>("PhoneBook1");
    w.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.form));
    const int row = int(w.form.phoneBookRows().indexOf(std::pair<QByteArray, QByteArray>{"Novak", "602"}));
    QVERIFY(row >= 0);
    grid->setCurrentCell(row, 1);
    grid->editItem(grid->item(row, 1));
    auto *editor = grid->findChild<QLineEdit *>();
    QVERIFY(editor);
    editor->end(false);
    QTest::keyClicks(editor, "1,2");
    QCOMPARE(editor->text(), QString("60212"));
    QVERIFY2(
        editor->property("refusedHint").toString().contains("Row " + QString::number(row + 1) + " (Novak)") &&
            editor->property("refusedHint").toString().contains("a comma"),
        qPrintable(editor->property("refusedHint").toString()));
    QApplication::clipboard()->setText("9;AT#REBOOT");
    editor->paste();
    QCOMPARE(editor->text(), QString("60212"));
    QVERIFY(editor->property("refusedHint").toString().contains("a semicolon"));
    QApplication::clipboard()->setText("99");
    editor->paste();
    QCOMPARE(editor->text(), QString("6021299"));
    // A cell that holds such a character already (from the unit) can still be corrected.
    editor->setText("1,2");
    editor->setCursorPosition(2);
    QTest::keyClick(editor, Qt::Key_Backspace);
    QCOMPARE(editor->text(), QString("12"));
    QTest::keyClick(editor, Qt::Key_3);
    QCOMPARE(editor->text(), QString("132"));
}

// A file whose entries would break the unit's command is refused whole, with the entries named; the
// window keeps what it showed.
void TestSafetyWrite::loadRefusesEntriesThatWouldBreakTheCommand() {
    SafetyWindow w;
    const auto rows = w.form.phoneBookRows();
    const QString path = w.folder.filePath("injected.oxa");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("ADMIN1=+420777\r\nGate=1,145,\"INJ\"\r\nEva=555\r\nALARMON=on;off\r\n");
    file.close();
    w.fakes.dialogs.openAnswers.enqueue(path);
    w.click("Load");
    QCOMPARE(w.fakes.errors.messages.size(), 1);
    const QString message = w.fakes.errors.messages.first();
    QVERIFY2(message.contains("Gate=1,145,\"INJ\"") && message.contains("a comma") &&
                 message.contains("ALARMON") && message.contains("a semicolon") && !message.contains("Eva"),
             qPrintable(message));
    QCOMPARE(w.form.phoneBookRows(), rows);
    QCOMPARE(w.form.ctl<QLineEdit>("ADMIN1")->text(), QString("+420111"));
}

// A stray "OK" makes the write go on one step early; the refusal of the command before then arrives
// before the next command has gone out. The message names the entry whose command it answered.
void TestSafetyWrite::refusalNamesTheCommandItAnswered() {
    SafetyWindow w;
    w.form.ctl<QLineEdit>("ADMIN2")->setText("+420222");
    w.form.ctl<QPushButton>("SaveOXA")->click();
    w.line("OK"); // "AT": on to ADMIN1
    QCOMPARE(w.fakes.port.sent.last(), QByteArray("AT+CPBW=1,+420111,,ADMIN1\r\n"));
    w.line("OK"); // ADMIN1 stored: on to ADMIN2
    QCOMPARE(w.fakes.port.sent.last(), QByteArray("AT+CPBW=2,+420222,,ADMIN2\r\n"));
    // A stray "OK", then ADMIN2's refusal, which the unit sends while the program pauses before ADMIN3.
    w.fakes.pause.during = [&w] {
        w.fakes.pause.during = nullptr;
        w.fakes.port.deliver("+CME ERROR: 24\r\n");
    };
    w.line("OK");
    // The refusal is read once the pause's handler has finished.
    for (int turn = 0; turn < 10; ++turn)
        QCoreApplication::processEvents();
    QVERIFY(!w.form.session().writing());
    QCOMPARE(w.fakes.errors.messages.size(), 1);
    const QString message = w.fakes.errors.messages.first();
    QVERIFY2(message.contains("ADMIN2") && message.contains("SIM index 2") &&
                 message.contains("+CME ERROR: 24"),
             qPrintable(message));
}

// What the unit could not store is shown in the grid as it is typed: the cell tinted, the reason as hint.
void TestSafetyWrite::cellsTheUnitCouldNotStoreAreMarked() {
    SafetyWindow w;
    auto *grid = w.form.ctl<QTableWidget>("PhoneBook1");
    const int row = int(w.form.phoneBookRows().indexOf(std::pair<QByteArray, QByteArray>{"Novak", "602"}));
    QVERIFY(grid->item(row, 0)->toolTip().isEmpty());
    grid->item(row, 0)->setText("Novak from the third floor");
    QVERIFY2(grid->item(row, 0)->toolTip().contains("at most 18"), qPrintable(grid->item(row, 0)->toolTip()));
    QVERIFY(grid->item(row, 0)->background().color().alpha() > 0);
    QVERIFY(grid->item(row, 1)->toolTip().isEmpty());
    grid->item(row, 0)->setText("Novak 3rd floor");
    QVERIFY(grid->item(row, 0)->toolTip().isEmpty());
    QCOMPARE(grid->item(row, 0)->background().style(), Qt::NoBrush);
}

QTEST_MAIN(TestSafetyWrite)
#include "tst_safety_write.moc"
