// The access-code sheet: the five mode pages written from their controls and filled from a clicked code.
#include "memorywindow.h"
#include "pagecontrol.h"
#include "rowstabbar.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using namespace oxa;
using namespace oxa::test;

namespace {

// What one mode page shows, as the user sees it; empty list texts are not part of that mode.
struct PageView {
    QString code;
    int relay = 0; // 1, 2, or 0: neither relay button on
    QString days;  // mode 1: seven of '1'/'0', Monday first
    QStringList lists;
    bool sms = false;
};

const char *const DayBoxes[] = {"Po", "Ut", "St", "Ct", "Pa", "So", "Ne"};

QStringList listsOfMode(int mode) {
    switch (mode) {
    case 1:
        return {"M1Acces"};
    case 2:
        return {"FromM2", "FromD2", "ToM2", "ToD2"};
    case 3:
        return {"FromM3", "FromD3", "M3Acces"};
    case 4:
        return {"FromHours", "ToHours", "M4Acces"};
    }
    return {};
}

template <class T> T *named(TForm1 &form, const QString &name) {
    return qobject_cast<T *>(form.control(name));
}

void fillPage(TForm1 &form, int mode, const PageView &view) {
    const QString m = QString::number(mode);
    named<QLineEdit>(form, "CodeM" + m)->setText(view.code);
    if (view.relay != 0)
        named<QAbstractButton>(form, "M" + m + "Rel" + QString::number(view.relay))->setChecked(true);
    if (mode == 1)
        for (int day = 0; day < 7; ++day)
            named<QAbstractButton>(form, DayBoxes[day])->setChecked(view.days.at(day) == '1');
    const QStringList lists = listsOfMode(mode);
    for (int i = 0; i < lists.size(); ++i)
        named<QComboBox>(form, lists.at(i))->setEditText(view.lists.at(i));
    if (mode != 0)
        named<QAbstractButton>(form, "M" + m + "SMS")->setChecked(view.sms);
}

PageView readPage(TForm1 &form, int mode) {
    const QString m = QString::number(mode);
    PageView view;
    view.code = named<QLineEdit>(form, "CodeM" + m)->text();
    for (int relay : {1, 2})
        if (named<QAbstractButton>(form, "M" + m + "Rel" + QString::number(relay))->isChecked())
            view.relay = relay;
    if (mode == 1)
        for (const char *day : DayBoxes)
            view.days += named<QAbstractButton>(form, day)->isChecked() ? '1' : '0';
    for (const QString &list : listsOfMode(mode))
        view.lists << named<QComboBox>(form, list)->currentText();
    if (mode != 0)
        view.sms = named<QAbstractButton>(form, "M" + m + "SMS")->isChecked();
    return view;
}

} // namespace

Q_DECLARE_METATYPE(PageView)

class TestCodePages : public QObject {
    Q_OBJECT
private slots:
    void writeEncodesThePage_data();
    void writeEncodesThePage();
    void clickDecodesIntoItsPage_data();
    void clickDecodesIntoItsPage();
    void writtenCodeReadsBackIntoTheSamePage_data();
    void writtenCodeReadsBackIntoTheSamePage();
    void notANumberShowsTheMessageOnceAndStops_data();
    void notANumberShowsTheMessageOnceAndStops();
    void unknownModeShowsNoPage();
    void codeBoxFiltersAndPreviews();
    void listTextOfOtherShapeIsRefused();
    void addCodeMakesTheNextWriteCreate();
};

void TestCodePages::writeEncodesThePage_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<PageView>("view");
    QTest::addColumn<QByteArray>("sent");
    QTest::newRow("weekly") << 1 << PageView{"246", 1, "1111100", {"05"}, false}
                            << QByteArray("AT+CPBW=,1#1#1111100#05#0,,C246C\r\n");
    QTest::newRow("date to date") << 2 << PageView{"246", 2, {}, {"03", "01", "06", "15"}, true}
                                  << QByteArray("AT+CPBW=,2#2#0301#0615#1,,C246C\r\n");
    QTest::newRow("normal, no relay")
        << 0 << PageView{"9", 0, {}, {}, false} << QByteArray("AT+CPBW=,0#0,,C9C\r\n");
    QTest::newRow("date and access") << 3 << PageView{"1", 1, {}, {"12", "29", "**"}, true}
                                     << QByteArray("AT+CPBW=,1#3#1229#**#1,,C1C\r\n");
    QTest::newRow("hours") << 4 << PageView{"77", 2, {}, {"**", "06", "99"}, false}
                           << QByteArray("AT+CPBW=,2#4#**#06#99#0,,C77C\r\n");
    QTest::newRow("no code") << 0 << PageView{"", 1, {}, {}, false} << QByteArray("AT+CPBW=,1#0,,CC\r\n");
}

void TestCodePages::writeEncodesThePage() {
    QFETCH(int, mode);
    QFETCH(PageView, view);
    QFETCH(QByteArray, sent);
    MemoryWindow w;
    fillPage(w.form, mode, view);
    named<QPushButton>(w.form, "WriteCode" + QString::number(mode))->click();
    QCOMPARE(w.fakes.port.sent, QList<QByteArray>{sent});
    QVERIFY(w.form.session().refreshAwaited());
    QVERIFY(w.fakes.errors.messages.isEmpty());
}

void TestCodePages::clickDecodesIntoItsPage_data() {
    QTest::addColumn<QByteArray>("node");
    QTest::addColumn<int>("mode");
    QTest::addColumn<PageView>("view");
    QTest::newRow("date to date") << QByteArray("9:C246C[2#2#0301#0615#1]") << 2
                                  << PageView{"246", 2, {}, {"03", "01", "06", "15"}, true};
    QTest::newRow("hours with stars")
        << QByteArray("3:C77C[1#4#**#06#**#0]") << 4 << PageView{"77", 1, {}, {"**", "06", "**"}, false};
    QTest::newRow("hours") << QByteArray("3:C77C[1#4#22#06#12#1]") << 4
                           << PageView{"77", 1, {}, {"22", "06", "12"}, true};
    QTest::newRow("weekly") << QByteArray("4:C5C[1#1#1010101#05#0]") << 1
                            << PageView{"5", 1, "1010101", {"05"}, false};
    QTest::newRow("day 29") << QByteArray("5:C8C[2#3#0229#03#1]") << 3
                            << PageView{"8", 2, {}, {"02", "29", "03"}, true};
    QTest::newRow("normal") << QByteArray("6:C1C[2#0]") << 0 << PageView{"1", 2, {}, {}, false};
    // A number beyond the list leaves it with no item and an empty text.
    QTest::newRow("month 13") << QByteArray("7:C2C[1#2#1301#0615#0]") << 2
                              << PageView{"2", 1, {}, {"", "01", "06", "15"}, false};
}

void TestCodePages::clickDecodesIntoItsPage() {
    QFETCH(QByteArray, node);
    QFETCH(int, mode);
    QFETCH(PageView, view);
    MemoryWindow w;
    w.read({{"1", "x", "ADMIN1"},
            {node.left(node.indexOf(':')), node.mid(node.indexOf('[') + 1).chopped(1),
             node.mid(node.indexOf(':') + 1, node.indexOf('[') - node.indexOf(':') - 1)}});
    QCOMPARE(w.texts("TreeCode"), QList<QByteArray>{node});
    QVERIFY(w.click("TreeCode", node));
    QCOMPARE(w.form.ctl<QTabWidget>("ModeCode")->currentIndex(), mode);
    const PageView shown = readPage(w.form, mode);
    QCOMPARE(shown.code, view.code);
    QCOMPARE(shown.relay, view.relay);
    QCOMPARE(shown.days, view.days);
    QCOMPARE(shown.lists, view.lists);
    QCOMPARE(shown.sms, view.sms);
    QCOMPARE(named<QLabel>(w.form, "LabelCodeM" + QString::number(mode))->text(), "(C" + view.code + "C)");
    QVERIFY(w.fakes.errors.messages.isEmpty());
}

// Every mode: what a page writes, read back as the refresh lists it and clicked, shows the same page;
// writing it again with the node selected rewrites the same entry in place.
void TestCodePages::writtenCodeReadsBackIntoTheSamePage_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<PageView>("view");
    QTest::newRow("0") << 0 << PageView{"31", 1, {}, {}, false};
    QTest::newRow("1") << 1 << PageView{"246", 2, "0110011", {"17"}, true};
    QTest::newRow("2") << 2 << PageView{"4", 1, {}, {"**", "31", "12", "**"}, false};
    QTest::newRow("3") << 3 << PageView{"123456789012345", 2, {}, {"07", "04", "01"}, true};
    QTest::newRow("4") << 4 << PageView{"0", 1, {}, {"23", "00", "**"}, true};
}

void TestCodePages::writtenCodeReadsBackIntoTheSamePage() {
    QFETCH(int, mode);
    QFETCH(PageView, view);
    MemoryWindow w;
    fillPage(w.form, mode, view);
    const QString m = QString::number(mode);
    named<QPushButton>(w.form, "WriteCode" + m)->click();
    QCOMPARE(w.fakes.port.sent.size(), 1);
    const QByteArray line = w.fakes.port.sent.first();
    QVERIFY(line.startsWith("AT+CPBW=,"));
    const QList<QByteArray> fields = line.mid(9).chopped(2).split(',');
    QCOMPARE(fields.size(), 3);

    // A fresh window, so nothing on the page is left over from the write.
    MemoryWindow reader;
    reader.read({{"40", fields.at(0), fields.at(2)}});
    const QByteArray node = "40:" + fields.at(2) + '[' + fields.at(0) + ']';
    QVERIFY(reader.click("TreeCode", node));
    QCOMPARE(reader.form.ctl<QTabWidget>("ModeCode")->currentIndex(), mode);
    const PageView shown = readPage(reader.form, mode);
    QCOMPARE(shown.code, view.code);
    QCOMPARE(shown.relay, view.relay);
    QCOMPARE(shown.days, view.days);
    QCOMPARE(shown.lists, view.lists);
    QCOMPARE(shown.sms, view.sms);

    named<QPushButton>(reader.form, "WriteCode" + m)->click();
    QCOMPARE(reader.fakes.port.sent,
             QList<QByteArray>{"AT+CPBW=40," + fields.at(0) + ",," + fields.at(2) + "\r\n"});
}

void TestCodePages::notANumberShowsTheMessageOnceAndStops_data() {
    QTest::addColumn<QByteArray>("node");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("mode");          // page shown, -1: the page shown before stays
    QTest::addColumn<QStringList>("lists"); // list texts after the click
    QTest::newRow("mode letter") << QByteArray("3:C77C[1#x#22#06#12#1]") << "'x' is not a valid integer value"
                                 << -1 << QStringList{"01", "01", "**"};
    QTest::newRow("second list") << QByteArray("3:C77C[1#4#22#0a#12#1]")
                                 << "'0a' is not a valid integer value" << 4 << QStringList{"22", "01", "**"};
}

void TestCodePages::notANumberShowsTheMessageOnceAndStops() {
    QFETCH(QByteArray, node);
    QFETCH(QString, message);
    QFETCH(int, mode);
    QFETCH(QStringList, lists);
    MemoryWindow w;
    named<QAbstractButton>(w.form, "M4SMS")->setChecked(false);
    w.form.ctl<QTabWidget>("ModeCode")->setCurrentIndex(4);
    w.tree("TreeCode")->addTopLevelItem(new QTreeWidgetItem(QStringList{QString::fromLatin1(node)}));
    QVERIFY(w.click("TreeCode", node));
    QCOMPARE(w.fakes.errors.messages, QStringList{message});
    QCOMPARE(w.form.ctl<QTabWidget>("ModeCode")->currentIndex(), 4);
    const PageView shown = readPage(w.form, 4);
    QCOMPARE(shown.lists, lists);
    // Steps before the failure keep their values; the SMS flag after it was never reached.
    QCOMPARE(shown.code, mode == 4 ? QString("77") : QString());
    QCOMPARE(shown.relay, mode == 4 ? 1 : 0);
    QVERIFY(!shown.sms);
}

// A mode this program has no page for leaves the page control in place with no page chosen: its
// tabs stay, none of them is chosen, and no write button is there until the user picks a page.
void TestCodePages::unknownModeShowsNoPage() {
    MemoryWindow w;
    w.form.show();
    w.form.ctl<QTabWidget>("OXAtyp")->setCurrentWidget(w.form.ctl<QWidget>("ModuleKeyboard"));
    w.form.ctl<QTabWidget>("PageControl3")->setCurrentWidget(w.form.ctl<QWidget>("KeyBoardCode"));
    w.read({{"3", "1#7#22", "C77C"}, {"4", "2#0", "C8C"}});
    auto *pages = w.form.ctl<PageControl>("ModeCode");
    auto *bar = qobject_cast<RowsTabBar *>(pages->tabBar());
    QVERIFY(bar);
    const auto writeButtonShown = [&] {
        for (int mode = 0; mode <= 4; ++mode)
            if (named<QWidget>(w.form, "WriteCode" + QString::number(mode))->isVisible())
                return true;
        return false;
    };

    QVERIFY(w.click("TreeCode", "3:C77C[1#7#22]"));
    QVERIFY(pages->isVisible());
    QVERIFY(!pages->hasCurrentPage());
    QVERIFY(!writeButtonShown());
    for (int mode = 0; mode <= 4; ++mode)
        QVERIFY(!bar->tabPlace(mode).isEmpty()); // every tab still there to be picked
    QVERIFY(!bar->isTabVisible(pages->currentIndex()));
    QVERIFY(w.fakes.errors.messages.isEmpty());
    QVERIFY(named<QLineEdit>(w.form, "CodeM4")->text().isEmpty());

    // A known mode chooses its page again.
    QVERIFY(w.click("TreeCode", "4:C8C[2#0]"));
    QVERIFY(pages->hasCurrentPage());
    QCOMPARE(pages->currentIndex(), 0);
    QCOMPARE(pages->count(), 5);
    QCOMPARE(named<QLineEdit>(w.form, "CodeM0")->text(), QString("8"));
    QVERIFY(writeButtonShown());

    // Add leaves the choice to the user, who picks a page by its tab.
    QVERIFY(w.click("TreeCode", "3:C77C[1#7#22]"));
    w.form.ctl<QPushButton>("AddCode")->click();
    QVERIFY(!pages->hasCurrentPage());
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabPlace(3).center());
    QVERIFY(pages->hasCurrentPage());
    QCOMPARE(pages->currentWidget()->objectName(), QString("M3"));
    QVERIFY(named<QWidget>(w.form, "WriteCode3")->isVisible());
    QCOMPARE(pages->count(), 5);
}

void TestCodePages::codeBoxFiltersAndPreviews() {
    MemoryWindow w;
    for (int mode = 0; mode < 5; ++mode) {
        const QString m = QString::number(mode);
        auto *box = named<QLineEdit>(w.form, "CodeM" + m);
        auto *label = named<QLabel>(w.form, "LabelCodeM" + m);
        QCOMPARE(label->text(), QString("C"));
        QTest::keyClicks(box, "24x6");
        QCOMPARE(box->text(), QString("246"));
        QCOMPARE(label->text(), QString("(C246C)"));
        box->setText("x1");
        QCOMPARE(box->text(), QString());
        QCOMPARE(label->text(), QString("(CC)"));
    }
}

// A list value of another length would shift every later field of the entry on the SIM.
void TestCodePages::listTextOfOtherShapeIsRefused() {
    MemoryWindow w;
    fillPage(w.form, 4, PageView{"77", 1, {}, {"5", "06", "**"}, false});
    w.form.ctl<QPushButton>("WriteCode4")->click();
    QVERIFY(w.fakes.port.sent.isEmpty());
    QVERIFY(!w.form.session().refreshAwaited());
    QCOMPARE(w.fakes.errors.messages.size(), 1);
    QVERIFY(w.fakes.errors.messages.first().startsWith("'5'"));
    named<QComboBox>(w.form, "FromHours")->setEditText("05");
    w.form.ctl<QPushButton>("WriteCode4")->click();
    QCOMPARE(w.fakes.port.sent, QList<QByteArray>{"AT+CPBW=,1#4#05#06#**#0,,C77C\r\n"});
}

// Add leaves no code selected: writing from any page then creates, also after a click on another mode.
void TestCodePages::addCodeMakesTheNextWriteCreate() {
    MemoryWindow w;
    w.read({{"9", "2#2#0301#0615#1", "C246C"}});
    QVERIFY(w.click("TreeCode", "9:C246C[2#2#0301#0615#1]"));
    w.form.ctl<QPushButton>("WriteCode0")->click();
    QCOMPARE(w.fakes.port.sent.value(0), QByteArray("AT+CPBW=9,0#0,,CC\r\n"));
    // One change at a time: the next one waits until the unit has answered and been read again.
    w.form.ctl<QPushButton>("WriteCode2")->click();
    QCOMPARE(w.fakes.port.sent.size(), 1);
    QCOMPARE(w.fakes.errors.messages.size(), 1);
    w.acceptAndReread({{"9", "0#0", "CC"}});
    w.fakes.port.sent.clear();
    QVERIFY(w.click("TreeCode", "9:CC[0#0]"));
    w.form.ctl<QPushButton>("AddCode")->click();
    QVERIFY(w.tree("TreeCode")->selectedItems().isEmpty());
    w.form.ctl<QPushButton>("WriteCode2")->click();
    QCOMPARE(w.fakes.port.sent.value(0), QByteArray("AT+CPBW=,2#2#0301#0615#1,,C246C\r\n"));
}

QTEST_MAIN(TestCodePages)
#include "tst_memoryui_codes.moc"
