// The window's layout: every control in place with its initial state, and a look at every page.
#include "fakeseams.h"
#include "simwindow.h"
#include "texts.h"
#include "tform1.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

using namespace oxa;

class TestWindow : public QObject {
    Q_OBJECT
private slots:
    void fixedSizeWithEveryPage();
    void itemListsAndInitialTexts_data();
    void itemListsAndInitialTexts();
    void initialStates();
    void everyControlHasAnAccessibleName();
    void textTablesHaveTheirRows();
    void grabPages();
    void grabScreenshot();
};

namespace {
struct Window {
    Window() : form(fakes.seams(), QDir::temp().filePath("OXAset")) { form.start(); }
    test::FakeSeams fakes;
    TForm1 form;
};
} // namespace

void TestWindow::fixedSizeWithEveryPage() {
    Window w;
    w.form.show();
    QCOMPARE(w.form.size(), QSize(613, 503));
    QCOMPARE(w.form.minimumSize(), w.form.maximumSize());
    QCOMPARE(w.form.objectName(), QString("TForm1"));
    auto *pages = w.form.ctl<QTabWidget>("PageControl1");
    QStringList names;
    for (int i = 0; i < pages->count(); ++i)
        names << pages->widget(i)->objectName();
    QCOMPARE(names, (QStringList{"Buttons", "PhoneBook", "seting", "TabSheet2", "service"}));
    QCOMPARE(pages->currentIndex(), 0);
    QCOMPARE(pages->iconSize(), QSize(40, 40));
    QCOMPARE(w.form.ctl<QTabWidget>("OXAtyp")->currentWidget()->objectName(), QString("OXAtyp1"));
    QCOMPARE(w.form.ctl<QTabWidget>("PageControl2")->currentWidget()->objectName(), QString("Calls"));
    QCOMPARE(w.form.ctl<QTabWidget>("PageControl3")->currentWidget()->objectName(), QString("KeyBoardMemo"));
    QCOMPARE(w.form.ctl<QTabWidget>("ModeCode")->currentWidget()->objectName(), QString("M4"));
    // Every named control is a child of the window under its own name.
    for (const char *name : {"ADMIN7", "AABUTTON7", "BBUTTON7", "RelRingAll2", "WriteCode4", "Ne", "ToHours",
                             "PhoneBook1", "Monitor", "List", "Smeter", "Prubeh", "RXDled", "Image3", "Bevel1"})
        QVERIFY2(w.form.findChild<QWidget *>(name), name);
}

void TestWindow::itemListsAndInitialTexts_data() {
    QTest::addColumn<QString>("combo");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("text");

    for (const char *name : {"M1Acces", "M3Acces", "M4Acces"})
        QTest::newRow(name) << name << 100 << "**" << "99" << "**";
    for (const char *name : {"FromM2", "ToM2", "FromM3"})
        QTest::newRow(name) << name << 13 << "**" << "12" << "01";
    for (const char *name : {"FromD2", "ToD2", "FromD3"})
        QTest::newRow(name) << name << 32 << "**" << "31" << "01";
    for (const char *name : {"FromHours", "ToHours"})
        QTest::newRow(name) << name << 25 << "00" << "**" << "01";
    QTest::newRow("PosButton") << "PosButton" << 7 << "1" << "7" << "1";
    QTest::newRow("PosMemo") << "PosMemo" << 7 << "1" << "7" << "1";
    QTest::newRow("WaitBUF") << "WaitBUF" << 9 << "1" << "9" << "2";
    QTest::newRow("waiting") << "waiting" << 10 << "20" << "90" << "20";
}

void TestWindow::itemListsAndInitialTexts() {
    QFETCH(QString, combo);
    QFETCH(int, count);
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QString, text);
    Window w;
    auto *box = qobject_cast<QComboBox *>(w.form.control(combo));
    QVERIFY(box);
    QCOMPARE(box->count(), count);
    QCOMPARE(box->itemText(0), first);
    QCOMPARE(box->itemText(count - 1), last);
    QCOMPARE(box->currentText(), text);
    if (combo == "FromD2")
        QCOMPARE(box->itemText(29), QString("29"));
    if (combo == "FromHours")
        QCOMPARE(box->itemText(24), QString("**"));
    if (combo == "waiting") {
        QVERIFY(!box->isEditable());
        QCOMPARE(box->currentIndex(), 2);
        QCOMPARE(box->itemText(1), QString("10"));
    }
}

void TestWindow::initialStates() {
    Window w;
    TForm1 &f = w.form;
    for (const char *slider : {"VolSpk", "VolMic"}) {
        auto *bar = f.ctl<QSlider>(slider);
        QCOMPARE(bar->minimum(), 1);
        QCOMPARE(bar->maximum(), 7);
        QCOMPARE(bar->value(), 7);
        QCOMPARE(bar->tickPosition(), QSlider::TicksBothSides);
    }
    for (const char *radio : {"NoCall", "SIMCall", "AllCall"})
        QVERIFY(!f.ctl<QAbstractButton>(radio)->isChecked());
    QCOMPARE(f.ctl<QLineEdit>("RelCode1")->text(), QString("5"));
    QCOMPARE(f.ctl<QLineEdit>("RelCode2")->text(), QString("6"));
    QCOMPARE(f.ctl<QLineEdit>("RelTime1")->text(), QString("03"));
    QCOMPARE(f.ctl<QLineEdit>("RelTime2")->text(), QString("03"));
    QVERIFY(f.ctl<QWidget>("Prubeh")->isHidden());
    QVERIFY(f.ctl<QWidget>("RXDled")->isHidden());
    QVERIFY(f.ctl<QWidget>("Image3")->isHidden());
    QCOMPARE(f.ctl<QLabel>("Voltage")->text(), QString("Voltage"));
    const QStringList panels = {" Operator:", " board voltage:", " SIM:", "  Ver: 5.1", " OXA Ver:"};
    for (int i = 0; i < panels.size(); ++i)
        QCOMPARE(f.panelText(i), panels.at(i));
    QCOMPARE(f.ctl<QWidget>("Bevel1")->toolTip(), QString("Signal is good, when color is green or blue."));
    QCOMPARE(f.ctl<QWidget>("Smeter")->toolTip(), QString("Signal is good, when color is green or blue."));
    QVERIFY(f.ctl<QPlainTextEdit>("Monitor")->isReadOnly());
    QVERIFY(!f.ctl<QPlainTextEdit>("List")->isReadOnly());
    auto *grid = f.ctl<QTableWidget>("PhoneBook1");
    QCOMPARE(grid->columnCount(), 2);
    QCOMPARE(grid->horizontalHeaderItem(0)->text(), QString("Name"));
    QCOMPARE(grid->horizontalHeaderItem(1)->text(), QString("Phone"));
    for (const char *tree : {"TreeButtons", "TreeButtonsSel", "TreeMemo", "TreeMemoSel", "TreeCode"})
        QCOMPARE(f.ctl<QTreeWidget>(tree)->editTriggers(), QAbstractItemView::NoEditTriggers);
}

// Screen readers and UI automation find every control by its caption, the label that names it, or
// its component name; every control that takes input can be reached with the keyboard.
void TestWindow::everyControlHasAnAccessibleName() {
    Window w;
    const QList<QWidget *> widgets = w.form.findChildren<QWidget *>();
    int inputs = 0;
    for (QWidget *widget : widgets) {
        if (widget->objectName().isEmpty() || widget->objectName().startsWith("qt_"))
            continue;
        QVERIFY2(!widget->accessibleName().isEmpty(), qPrintable(widget->objectName()));
        if (qobject_cast<QAbstractButton *>(widget) || qobject_cast<QLineEdit *>(widget) ||
            qobject_cast<QComboBox *>(widget) || qobject_cast<QAbstractItemView *>(widget)) {
            ++inputs;
            QVERIFY2(widget->focusPolicy() & Qt::TabFocus, qPrintable(widget->objectName()));
        }
    }
    QVERIFY(inputs > 150);
    QCOMPARE(w.form.ctl<QWidget>("ADMIN3")->accessibleName(), QString("ADMIN3"));
    QCOMPARE(w.form.ctl<QWidget>("AABUTTON2")->accessibleName(), QString("ABUTTON2"));
    QCOMPARE(w.form.ctl<QWidget>("ButtonPNumber")->accessibleName(), QString("Phone Number"));
    QCOMPARE(w.form.ctl<QWidget>("ALARMOFF")->accessibleName(), QString("SMS ALARM OFF"));
    QCOMPARE(w.form.ctl<QWidget>("Find")->accessibleName(), QString("Find"));
    QCOMPARE(w.form.ctl<QLabel>("Label31")->buddy(), w.form.ctl<QWidget>("RelCode1"));
}

void TestWindow::textTablesHaveTheirRows() {
    QCOMPARE(captionRows("OXA").size(), size_t(93));
    const auto hints = hintRows("OXA");
    QCOMPARE(hints.size(), size_t(66));
    QSet<QString> keys;
    int written = 0;
    int composed = 0;
    for (const TextRow &row : hints) {
        keys.insert(row.key);
        written += row.written;
        composed += row.defaultText.contains("XYZ");
    }
    QCOMPARE(keys.size(), 64);
    QCOMPARE(written, 63);
    for (const TextRow &row : hintRows("XYZ"))
        composed += row.defaultText.contains("XYZ");
    QCOMPARE(composed, 14);
    for (const TextRow &row : hints)
        QVERIFY2(!row.written == (row.key == "Status" || row.controls.first() == "Memo" ||
                                  row.controls.first() == "MemoPNumber"),
                 qPrintable(row.key));
}

// With OXA_GRAB_DIR set, writes a PNG of every page and inner page for a person to look at.
void TestWindow::grabPages() {
    const QString folder = qEnvironmentVariable("OXA_GRAB_DIR");
    if (folder.isEmpty())
        QSKIP("OXA_GRAB_DIR not set");
    test::FakeSeams fakes;
    TForm1 form(fakes.seams(), QDir::temp().filePath(qEnvironmentVariable("OXA_GRAB_NAME", "OXAset")));
    form.start();
    form.show();
    // Reveal the module pages so they can be looked at whatever the branding.
    auto *modules = form.findChild<QTabWidget *>("OXAtyp");
    for (int i = 0; i < modules->count(); ++i)
        modules->setTabVisible(i, true);
    QDir().mkpath(folder);
    const auto outer = form.findChild<QTabWidget *>("PageControl1");
    for (int page = 0; page < outer->count(); ++page) {
        outer->setCurrentIndex(page);
        QList<QTabWidget *> inner = outer->widget(page)->findChildren<QTabWidget *>();
        if (inner.isEmpty()) {
            form.grab().save(QDir(folder).filePath(outer->widget(page)->objectName() + ".png"));
            continue;
        }
        for (QTabWidget *tabs : inner) {
            for (int i = 0; i < tabs->count(); ++i) {
                tabs->setCurrentIndex(i);
                // Inner pages of inner pages show through their parents.
                for (QWidget *w = tabs->parentWidget(); w; w = w->parentWidget())
                    if (auto *parentTabs = qobject_cast<QTabWidget *>(w->parentWidget() ? w->parentWidget()->parentWidget() : nullptr))
                        parentTabs->setCurrentWidget(w);
                form.grab().save(QDir(folder).filePath(tabs->widget(i)->objectName() + ".png"));
            }
        }
    }
    QVERIFY(QDir(folder).entryList({"*.png"}).size() >= 5);
}

// With OXA_SCREENSHOT set to a PNG path, writes the window as a user sees it after reading the simulated
// unit: the screenshot that packaging/screenshots/ keeps for the metainfo.
void TestWindow::grabScreenshot() {
    const QString path = qEnvironmentVariable("OXA_SCREENSHOT");
    if (path.isEmpty())
        QSKIP("OXA_SCREENSHOT not set");
    test::SimWindow w(test::SimWindow::defaultOptions(), QStringLiteral("OXAset"));
    w.form.start();
    w.form.show();
    w.settle();
    w.stopAndRead();
    QVERIFY(w.form.phoneBookRows().size() > 1);
    QVERIFY(w.form.grab().save(path));
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
