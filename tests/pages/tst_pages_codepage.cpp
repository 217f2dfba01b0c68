// The window shows the unit's bytes, the configuration file's and the monitor's in one code page, writes
// them back unchanged, and refuses characters the code page cannot hold where they are typed.
#include "pageswindow.h"
#include "simwindow.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <QTreeWidget>

using namespace oxa;
using namespace oxa::test;

class TestCodePageWindow : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void unitTextsShowInTheCodePage_data();
    void unitTextsShowInTheCodePage();
    void typedNamesGoToTheFileAndBack();
    void gridCellRefusesWhatTheCodePageCannotHold_data();
    void gridCellRefusesWhatTheCodePageCannotHold();
    void boxesRefuseWhatTheCodePageCannotHold();
    void unknownSettingIsSaidAndTheLanguageDecides();
};

namespace {

QByteArray readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray codePageSettings(const QByteArray &name) {
    return name.isEmpty() ? QByteArray() : "[CodePage]\r\nName=" + name + "\r\n";
}

QStringList gridNames(const QTableWidget *grid) {
    QStringList names;
    for (int row = 0; row < grid->rowCount(); ++row)
        names << (grid->item(row, 0) ? grid->item(row, 0)->text() : QString());
    return names;
}

// Types `text` one character at a time, as a keyboard with those letters would (QTest's key clicks
// take ASCII only).
void typeText(QWidget *widget, const QString &text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype width = text[i].isHighSurrogate() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, text.mid(i, width), Qt::NoModifier);
        i += width - 1;
    }
}

QLineEdit *openCellEditor(QTableWidget *grid, int row, int column) {
    grid->setCurrentCell(row, column);
    grid->editItem(grid->item(row, column));
    return grid->findChild<QLineEdit *>();
}

} // namespace

void TestCodePageWindow::cleanup() {
    QLocale::setDefault(QLocale::c());
}

void TestCodePageWindow::unitTextsShowInTheCodePage_data() {
    QTest::addColumn<QByteArray>("setting");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("shown");
    // The simulated SIM holds "Dvořák" in Windows-1250 bytes: Dvo F8 E1 k.
    QTest::newRow("settings file") << QByteArray("1250") << QLocale(QLocale::English) << "Dvořák";
    QTest::newRow("Czech user") << QByteArray() << QLocale(QLocale::Czech) << "Dvořák";
    QTest::newRow("settings file over language")
        << QByteArray("windows-1250") << QLocale(QLocale::German) << "Dvořák";
    // A Western user's code page has other letters at those bytes, and still writes the same bytes back.
    QTest::newRow("Western user") << QByteArray() << QLocale(QLocale::German) << "Dvoøák";
}

// Read from the unit: the grid, the monitor and the saved log show the names in the code page, and a
// write stores the very bytes that were read.
void TestCodePageWindow::unitTextsShowInTheCodePage() {
    QFETCH(QByteArray, setting);
    QFETCH(QLocale, locale);
    QFETCH(QString, shown);
    QLocale::setDefault(locale);
    SimWindow w;
    w.writeSettings(codePageSettings(setting));
    const QByteArray stored("Dvo\xf8\xe1k");
    w.form.start();
    w.settle();
    w.stopAndRead();
    QVERIFY2(w.errors.messages.isEmpty(), qPrintable(w.errors.messages.join('\n')));

    auto *grid = w.form.ctl<QTableWidget>("PhoneBook1");
    QVERIFY2(gridNames(grid).contains(shown), qPrintable(gridNames(grid).join(", ")));
    const QStringList log = w.form.monitor()->lines();
    QVERIFY(std::any_of(log.cbegin(), log.cend(), [&](const QString &line) { return line.contains(shown); }));

    const QString logFile = w.folder.filePath("traffic.mon");
    w.dialogs.saveAnswers.enqueue(logFile);
    w.form.SaveMonitorClick();
    QVERIFY(readAll(logFile).contains(",\"" + stored + "\""));

    w.form.SaveOXAClick();
    QVERIFY(w.settle([&] { return !w.form.session().writing(); }));
    w.settle();
    QVERIFY2(w.errors.messages.isEmpty(), qPrintable(w.errors.messages.join('\n')));
    QList<QByteArray> names;
    for (const sim::IndexedEntry &entry : w.unit().sim().usedEntries())
        names << entry.entry.name;
    QVERIFY(names.contains(stored));
}

// A name typed in Czech is saved as its Windows-1250 bytes and loads back as typed.
void TestCodePageWindow::typedNamesGoToTheFileAndBack() {
    const QString typed = QStringLiteral("Jan Nováček-Dvořák");
    const QByteArray bytes("Jan Nov\xe1\xe8"
                           "ek-Dvo\xf8\xe1k");
    PagesWindow saved(codePageSettings("1250"));
    saved.form->appendPhoneBookRow("Gate", "1");
    saved.grid()->item(0, 0)->setText(typed);
    saved.edit("ALARMON")->setText(QStringLiteral("Brána otevřena"));
    const QString path = saved.filePath("czech.oxa");
    saved.fakes.dialogs.saveAnswers.enqueue(path);
    saved.form->SaveClick();
    QCOMPARE(saved.fakes.errors.messages, QStringList());
    const QByteArray file = readAll(path);
    QVERIFY(file.contains("\r\n" + bytes + "=1\r\n"));
    QVERIFY(file.contains("ALARMON=Br\xe1na otev\xf8"
                          "ena\r\n"));

    PagesWindow loaded(codePageSettings("1250"));
    loaded.fakes.dialogs.openAnswers.enqueue(path);
    loaded.form->LoadClick();
    QCOMPARE(loaded.fakes.errors.messages, QStringList());
    QCOMPARE(loaded.grid()->item(0, 0)->text(), typed);
    QCOMPARE(loaded.edit("ALARMON")->text(), QStringLiteral("Brána otevřena"));
    QCOMPARE(loaded.form->phoneBookRows().first(), std::make_pair(bytes, QByteArray("1")));
}

void TestCodePageWindow::gridCellRefusesWhatTheCodePageCannotHold_data() {
    QTest::addColumn<QByteArray>("setting");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("taken");
    QTest::addColumn<QString>("named");
    QTest::newRow("Greek in Czech") << QByteArray("1250") << "Jan Ω"
                                    << "Jan "
                                    << "\"Ω\" (U+03A9)";
    QTest::newRow("Czech in Western") << QByteArray("1252") << "Dvořák"
                                      << "Dvoák"
                                      << "\"ř\" (U+0159)";
    QTest::newRow("Czech in Czech") << QByteArray("1250") << "Dvořák"
                                    << "Dvořák" << QString();
    QTest::newRow("beyond U+FFFF") << QByteArray("1250") << "a😀"
                                   << "a"
                                   << "\"😀\" (U+1F600)";
    // The same editor refuses what would break the unit's command, whatever the code page.
    QTest::newRow("comma") << QByteArray("1250") << "Novák, Jan"
                           << "Novák Jan"
                           << "a comma";
}

// Typed or pasted into a cell, a character the code page cannot hold is not taken, and the hint beside
// the cell names the entry and the character.
void TestCodePageWindow::gridCellRefusesWhatTheCodePageCannotHold() {
    QFETCH(QByteArray, setting);
    QFETCH(QString, typed);
    QFETCH(QString, taken);
    QFETCH(QString, named);
    PagesWindow w(codePageSettings(setting));
    w.form->show();
    w.form->appendPhoneBookRow("Gate", "1");
    QLineEdit *editor = openCellEditor(w.grid(), 0, 0);
    QVERIFY(editor);
    editor->clear();
    typeText(editor, typed);
    QCOMPARE(editor->text(), taken);
    const QString hint = editor->property("refusedHint").toString();
    if (named.isEmpty()) {
        QVERIFY(hint.isEmpty());
    } else {
        const bool ofTheCodePage = !named.startsWith("a ");
        QVERIFY2(hint.startsWith("Row 1 (Gate): ") && hint.contains(named) &&
                     hint.contains("windows-" + setting) == ofTheCodePage,
                 qPrintable(hint));
        editor->setProperty("refusedHint", QVariant());
        editor->clear();
        QApplication::clipboard()->setText(typed);
        editor->paste();
        QCOMPARE(editor->text(), QString());
        QVERIFY(editor->property("refusedHint").toString().contains(named));
    }
}

// The free-text boxes refuse such characters with a hint naming the box; the filtered boxes drop them,
// also the single character they otherwise leave for the next keystroke.
void TestCodePageWindow::boxesRefuseWhatTheCodePageCannotHold() {
    PagesWindow w(codePageSettings("1250"));
    w.form->show();
    QLineEdit *alarm = w.edit("ALARMON");
    typeText(alarm, QStringLiteral("Požár Ω!"));
    QCOMPARE(alarm->text(), QStringLiteral("Požár !"));
    const QString hint = alarm->property("refusedHint").toString();
    QVERIFY2(hint.startsWith(w.form->ctl<QLabel>("Label22")->text()) && hint.contains("U+03A9"),
             qPrintable(hint));

    QLineEdit *admin = w.edit("ADMIN1");
    typeText(admin, QStringLiteral("Ω"));
    QCOMPARE(admin->text(), QString());
    typeText(admin, QStringLiteral("ř"));
    QCOMPARE(admin->text(), QStringLiteral("ř")); // a letter of the code page waits for the next key

    auto *position = w.form->ctl<QComboBox>("PosMemo");
    position->clearEditText();
    typeText(position->lineEdit(), QStringLiteral("Ω3"));
    QCOMPARE(position->currentText(), QStringLiteral("3"));
}

void TestCodePageWindow::unknownSettingIsSaidAndTheLanguageDecides() {
    QLocale::setDefault(QLocale(QLocale::Czech));
    PagesWindow w(codePageSettings("utf-8"));
    QCOMPARE(w.form->codePage().name(), QByteArray("windows-1250"));
    QCOMPARE(w.fakes.errors.messages.size(), 1);
    QVERIFY(w.fakes.errors.messages.first().contains("utf-8"));
}

QTEST_MAIN(TestCodePageWindow)
#include "tst_pages_codepage.moc"
