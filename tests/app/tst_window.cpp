// The window's layout: every control in place with its initial state, and a look at every page.
#include "fakeseams.h"
#include "icontabbar.h"
#include "rowstabbar.h"
#include "simwindow.h"
#include "texts.h"
#include "tform1.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSlider>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace oxa;

class TestWindow : public QObject {
    Q_OBJECT
private slots:
    void fixedSizeWithEveryPage();
    void controlsHaveTheirPlaces_data();
    void controlsHaveTheirPlaces();
    void longCaptionsWrapOntoRows();
    void longPageCaptionsBreakBesideTheirIcons();
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

// A window started as GSMQuend.exe (both module pages shown) with the captions of a settings file.
struct TranslatedWindow {
    explicit TranslatedWindow(const QByteArray &languageSection) {
        QFile settings(folder.filePath("GSMQuend.ini"));
        settings.open(QIODevice::WriteOnly);
        settings.write("[Language]\r\n" + languageSection);
        settings.close();
        form = std::make_unique<TForm1>(fakes.seams(), folder.filePath("GSMQuend.exe"));
        form->start();
        form->show();
    }
    QTemporaryDir folder;
    test::FakeSeams fakes;
    std::unique_ptr<TForm1> form;
};

// Where a control lies in the page that holds it (its parent page of a page control).
QRect placeInWindow(const QWidget *widget, const QWidget *window) {
    return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

// Every tab of a bar lies inside the bar and inside its page control, no two overlap, and each is at
// least as wide as its caption needs.
void checkTabsLieApart(const RowsTabBar *bar) {
    const QRect inBar = bar->rect();
    QList<QRect> places;
    for (int i = 0; i < bar->count(); ++i) {
        if (!bar->isTabVisible(i))
            continue;
        const QRect place = bar->tabPlace(i);
        QVERIFY2(inBar.contains(place), qPrintable(bar->tabText(i)));
        QVERIFY2(bar->mapTo(bar->parentWidget(), place.topRight()).x() < bar->parentWidget()->width(),
                 qPrintable(bar->tabText(i)));
        QVERIFY2(place.width() >= bar->fontMetrics().horizontalAdvance(bar->tabText(i)),
                 qPrintable(bar->tabText(i)));
        for (const QRect &other : std::as_const(places))
            QVERIFY2(!other.intersects(place), qPrintable(bar->tabText(i)));
        places.append(place);
    }
}
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
    for (const char *name :
         {"ADMIN7", "AABUTTON7", "BBUTTON7", "RelRingAll2", "WriteCode4", "Ne", "ToHours", "PhoneBook1",
          "Monitor", "List", "Smeter", "Prubeh", "RXDled", "Image3", "Bevel1"})
        QVERIFY2(w.form.findChild<QWidget *>(name), name);
}

// The places and sizes the layout gives; every control lies whole inside its page.
void TestWindow::controlsHaveTheirPlaces_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry"); // in its parent
    QTest::newRow("PhoneBook1") << "PhoneBook1" << QRect(4, 4, 289, 385);
    QTest::newRow("Monitor") << "Monitor" << QRect(4, 4, 481, 349);
    QTest::newRow("List") << "List" << QRect(4, 4, 481, 345);
    QTest::newRow("Battery") << "Battery" << QRect(4, 212, 57, 113);
    QTest::newRow("Bevel1") << "Bevel1" << QRect(0, 456, 609, 25);
    QTest::newRow("GroupBox4") << "GroupBox4" << QRect(496, 16, 113, 329);
    QTest::newRow("GroupBox5") << "GroupBox5" << QRect(496, 352, 113, 97);
    QTest::newRow("PageControl1") << "PageControl1" << QRect(0, 0, 497, 449);
    QTest::newRow("Prubeh") << "Prubeh" << QRect(44, 460, 561, 17);
    QTest::newRow("Smeter") << "Smeter" << QRect(84, 464, 521, 9);
}

void TestWindow::controlsHaveTheirPlaces() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    Window w;
    w.form.show();
    auto *widget = w.form.findChild<QWidget *>(name);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), geometry);
    // Nothing is cut off by the page or group that holds it, nor by the window.
    auto *pages = w.form.ctl<QTabWidget>("PageControl1");
    for (QWidget *child = widget; child != w.form.centralWidget(); child = child->parentWidget())
        if (pages->indexOf(child) >= 0)
            pages->setCurrentWidget(child);
    for (QWidget *child = widget; child != w.form.centralWidget(); child = child->parentWidget())
        QVERIFY2(child->parentWidget()->rect().contains(child->geometry()), qPrintable(child->objectName()));
    QVERIFY(widget->isVisibleTo(&w.form) || widget->objectName() == "Prubeh");
    // The strip and the status bar meet without a gap or an overlap.
    if (name == "Bevel1")
        QCOMPARE(placeInWindow(widget, &w.form).bottom() + 1, w.form.statusBar()->geometry().top());
}

void TestWindow::itemListsAndInitialTexts_data() {
    QTest::addColumn<QString>("combo");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("text");

    for (const char *name : {"M1Acces", "M3Acces", "M4Acces"})
        QTest::newRow(name) << name << 100 << "**"
                            << "99"
                            << "**";
    for (const char *name : {"FromM2", "ToM2", "FromM3"})
        QTest::newRow(name) << name << 13 << "**"
                            << "12"
                            << "01";
    for (const char *name : {"FromD2", "ToD2", "FromD3"})
        QTest::newRow(name) << name << 32 << "**"
                            << "31"
                            << "01";
    for (const char *name : {"FromHours", "ToHours"})
        QTest::newRow(name) << name << 25 << "00"
                            << "**"
                            << "01";
    QTest::newRow("PosButton") << "PosButton" << 7 << "1"
                               << "7"
                               << "1";
    QTest::newRow("PosMemo") << "PosMemo" << 7 << "1"
                             << "7"
                             << "1";
    QTest::newRow("WaitBUF") << "WaitBUF" << 9 << "1"
                             << "9"
                             << "2";
    QTest::newRow("waiting") << "waiting" << 10 << "20"
                             << "90"
                             << "20";
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
    // The widest reading the battery label shows fits inside the battery group.
    auto *voltage = f.ctl<QLabel>("Voltage");
    voltage->setText("5120 mV");
    QVERIFY(voltage->fontMetrics().horizontalAdvance(voltage->text()) <= voltage->width());
    QVERIFY(voltage->parentWidget()->rect().adjusted(1, 1, -1, -1).contains(voltage->geometry()));
    const QStringList panels = {" Operator:", " board voltage:", " SIM:", "  Ver: 5.1", " OXA Ver:"};
    for (int i = 0; i < panels.size(); ++i)
        QCOMPARE(f.panelText(i), panels.at(i));
    QCOMPARE(f.ctl<QWidget>("Bevel1")->toolTip(), QString("Signal is good, when color is green or blue."));
    QCOMPARE(f.ctl<QWidget>("Smeter")->toolTip(), QString("Signal is good, when color is green or blue."));
    QVERIFY(f.ctl<QPlainTextEdit>("Monitor")->isReadOnly());
    QVERIFY(!f.ctl<QPlainTextEdit>("List")->isReadOnly());
    // Both memos have a grey background, the editable list too.
    for (const char *memo : {"Monitor", "List"}) {
        const QColor base = f.ctl<QPlainTextEdit>(memo)->palette().color(QPalette::Base);
        QVERIFY2(base != QColor(Qt::white) && base.red() == base.green() && base.green() == base.blue(),
                 memo);
    }
    QCOMPARE(f.ctl<QPlainTextEdit>("List")->palette().color(QPalette::Base),
             f.ctl<QPlainTextEdit>("Monitor")->palette().color(QPalette::Base));
    auto *grid = f.ctl<QTableWidget>("PhoneBook1");
    QCOMPARE(grid->columnCount(), 2);
    QCOMPARE(grid->horizontalHeaderItem(0)->text(), QString("Name"));
    QCOMPARE(grid->horizontalHeaderItem(1)->text(), QString("Phone"));
    for (const char *tree : {"TreeButtons", "TreeButtonsSel", "TreeMemo", "TreeMemoSel", "TreeCode"})
        QCOMPARE(f.ctl<QTreeWidget>(tree)->editTriggers(), QAbstractItemView::NoEditTriggers);
}

// Screen readers and UI automation find every control by its caption, the label that names it, or
// its component name; every control that takes input can be reached with the keyboard.
// Every control the keyboard reaches has a name, as screen readers get it; tst_accessibility walks the
// whole tree.
void TestWindow::everyControlHasAnAccessibleName() {
    Window w;
    const auto nameOf = [&w](const char *name) {
        return QAccessible::queryAccessibleInterface(w.form.ctl<QWidget>(name))->text(QAccessible::Name);
    };
    const QList<QWidget *> widgets = w.form.findChildren<QWidget *>();
    int inputs = 0;
    for (QWidget *widget : widgets) {
        if (widget->objectName().isEmpty() || widget->objectName().startsWith("qt_"))
            continue;
        if (qobject_cast<QAbstractButton *>(widget) || qobject_cast<QLineEdit *>(widget) ||
            qobject_cast<QComboBox *>(widget) || qobject_cast<QAbstractItemView *>(widget)) {
            ++inputs;
            QVERIFY2(!QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name).isEmpty(),
                     qPrintable(widget->objectName()));
            QVERIFY2(widget->focusPolicy() & Qt::TabFocus, qPrintable(widget->objectName()));
        }
    }
    QVERIFY(inputs > 150);
    QCOMPARE(nameOf("ADMIN3"), QString("ADMIN3"));
    QCOMPARE(nameOf("AABUTTON2"), QString("ABUTTON2"));
    QCOMPARE(nameOf("ButtonPNumber"), QString("Phone Number"));
    QCOMPARE(nameOf("ALARMOFF"), QString("SMS ALARM OFF"));
    QCOMPARE(nameOf("Find"), QString("Find"));
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

// Captions too long for one row of tabs wrap onto more rows instead of being cut off; the row of the
// current tab is the one next to its page, and the page starts below the tabs.
void TestWindow::longCaptionsWrapOntoRows() {
    TranslatedWindow w("1 button=Jedno tlacitko na dverich\r\n2 buttons=Dve tlacitka na dverich\r\n"
                       "Buttons Module=Modul tlacitek\r\nKeyboard Module=Modul klavesnice\r\n");
    auto *pages = w.form->ctl<QTabWidget>("OXAtyp");
    auto *bar = qobject_cast<RowsTabBar *>(pages->tabBar());
    QVERIFY(bar);
    QVERIFY(bar->tabRows() >= 2);
    checkTabsLieApart(bar);
    for (int current = 0; current < pages->count(); ++current) {
        pages->setCurrentIndex(current);
        const QRect place = bar->tabPlace(current);
        QCOMPARE(place.bottom(), bar->rect().bottom());
        QVERIFY(pages->currentWidget()->mapTo(pages, QPoint(0, 0)).y() > bar->geometry().bottom());
    }
    // Clicking a tab in an upper row chooses its page.
    pages->setCurrentIndex(0);
    int upper = -1;
    for (int i = 0; i < bar->count() && upper < 0; ++i)
        if (bar->isTabVisible(i) && bar->tabPlace(i).bottom() < bar->rect().bottom())
            upper = i;
    QVERIFY(upper > 0);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabPlace(upper).center());
    QCOMPARE(pages->currentIndex(), upper);
    QCOMPARE(bar->tabPlace(upper).bottom(), bar->rect().bottom());
    // The short captions of the access-code modes stay in one row.
    pages->setCurrentWidget(w.form->ctl<QWidget>("ModuleKeyboard"));
    w.form->ctl<QTabWidget>("PageControl3")->setCurrentIndex(1);
    auto *modes = qobject_cast<RowsTabBar *>(w.form->ctl<QTabWidget>("ModeCode")->tabBar());
    QVERIFY(modes);
    QCOMPARE(modes->tabRows(), 1);
    checkTabsLieApart(modes);

    const QString folder = qEnvironmentVariable("OXA_GRAB_DIR");
    if (!folder.isEmpty())
        w.form->grab().save(QDir(folder).filePath("OXAtyp_long_captions.png"));
}

// The main tabs keep their icon beside the caption; captions too long for the row break at a blank
// onto a second line, and only what even then does not fit is shortened.
void TestWindow::longPageCaptionsBreakBesideTheirIcons() {
    Window plain;
    plain.form.show();
    auto *pages = plain.form.ctl<QTabWidget>("PageControl1");
    auto *bar = qobject_cast<IconTabBar *>(pages->tabBar());
    QVERIFY(bar);
    QCOMPARE(bar->height(), 48);
    QCOMPARE(pages->currentWidget()->height(), 399);
    QVERIFY(bar->tabRect(pages->count() - 1).right() < pages->width());

    TranslatedWindow w("Buttons=Tla\xc4\x8d\xc3\xadtka\r\nPhone Book=Telefonn\xc3\xad seznam\r\n"
                       "Setting=Nastaven\xc3\xad\r\nMonitor=Linka\r\nService=Servis\r\n");
    auto *translated = qobject_cast<IconTabBar *>(w.form->ctl<QTabWidget>("PageControl1")->tabBar());
    QCOMPARE(translated->captionLines(1), (QStringList{QString::fromUtf8("Telefonn\xc3\xad"), "seznam"}));
    QCOMPARE(translated->captionLines(2), QStringList{QString::fromUtf8("Nastaven\xc3\xad")});
    QCOMPARE(translated->captionLines(3), QStringList{"Linka"});
    QCOMPARE(translated->captionLines(4), QStringList{"Servis"});
    QCOMPARE(translated->height(), 48);
    QVERIFY(translated->tabRect(4).right() < translated->parentWidget()->width());

    TranslatedWindow tooLong("Buttons=Nastaveni vsech tlacitek\r\nPhone Book=Telefonni seznam karty SIM\r\n"
                             "Setting=Nastaveni jednotky\r\nMonitor=Sledovani seriove linky\r\n"
                             "Service=Servis a nahravani\r\n");
    auto *shortened = qobject_cast<IconTabBar *>(tooLong.form->ctl<QTabWidget>("PageControl1")->tabBar());
    QVERIFY(shortened->tabRect(4).right() < shortened->parentWidget()->width());
    QVERIFY(shortened->captionLines(1).join(' ').contains(QChar(0x2026)));
    QCOMPARE(shortened->height(), 48);

    const QString folder = qEnvironmentVariable("OXA_GRAB_DIR");
    if (!folder.isEmpty()) {
        w.form->grab().save(QDir(folder).filePath("PageControl1_translated.png"));
        tooLong.form->grab().save(QDir(folder).filePath("PageControl1_too_long.png"));
    }
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
                    if (auto *parentTabs = qobject_cast<QTabWidget *>(
                            w->parentWidget() ? w->parentWidget()->parentWidget() : nullptr))
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
