// What screen readers and UI automation see of the window through Qt's accessibility interface (the
// one its AT-SPI bridge serves): every control of every page named by what it shows, texts that change
// read as they stand, decorative pictures not presented as controls, and check boxes that act alike
// however they are toggled.
#include "fakeseams.h"
#include "tform1.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace oxa;

class TestAccessibility : public QObject {
    Q_OBJECT
private slots:
    void everyControlOfEveryPageHasAHumanName();
    void changingTextsReadAsTheyStand();
    void groupsListsAndPicturesAreNamedByWhatTheyShow();
    void checkBoxesActAlikeHoweverToggled_data();
    void checkBoxesActAlikeHoweverToggled();
};

namespace {

// Started as GSMQuend, which shows the module pages too.
struct Window {
    Window() : form(fakes.seams(), folder.filePath("GSMQuend")) {
        form.start();
        form.show();
        fakes.port.sent.clear();
    }
    QTemporaryDir folder;
    test::FakeSeams fakes;
    TForm1 form;
};

QAccessibleInterface *accessible(QObject *object) {
    return QAccessible::queryAccessibleInterface(object);
}

QString nameOf(QObject *object) {
    return accessible(object)->text(QAccessible::Name);
}

template <class Visit> void walk(QAccessibleInterface *node, Visit visit, int depth = 0) {
    if (!node || depth > 40)
        return;
    if (!visit(node))
        return;
    for (int i = 0; i < node->childCount(); ++i)
        walk(node->child(i), visit, depth + 1);
}

// Texts a control shows for itself or beside it: a name taken from one of them is the user's to read.
QStringList visibleTextsOf(QWidget *widget) {
    QStringList texts;
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        texts << button->text();
    if (auto *group = qobject_cast<QGroupBox *>(widget))
        texts << group->title();
    if (auto *group = qobject_cast<QGroupBox *>(widget->parentWidget()))
        texts << group->title();
    if (auto *bar = qobject_cast<QTabBar *>(widget))
        for (int i = 0; i < bar->count(); ++i)
            texts << bar->tabText(i);
    for (QLabel *label : widget->window()->findChildren<QLabel *>())
        if (label->buddy() == widget)
            texts << label->text();
    // The caption of the page that holds it.
    for (QWidget *page = widget; page; page = page->parentWidget())
        if (auto *tabs = qobject_cast<QTabWidget *>(
                page->parentWidget() ? page->parentWidget()->parentWidget() : nullptr);
            tabs && tabs->indexOf(page) >= 0)
            texts << tabs->tabText(tabs->indexOf(page));
    return texts;
}

// Why a node of the tree is not what a screen reader needs; empty when it is.
QString problemOf(QAccessibleInterface *node, const QSet<QString> &controlNames,
                  const QSet<QString> &decorative) {
    // A tab is no object of its own: its tab bar shows its caption.
    QAccessibleInterface *shown =
        node->role() == QAccessible::PageTab && node->parent() ? node->parent() : node;
    auto *widget = qobject_cast<QWidget *>(shown->object());
    const QString name = node->text(QAccessible::Name);
    const QString id = widget ? widget->objectName() : QString();
    switch (node->role()) {
    // Containers, parts of lists and grids, and Qt's own pieces: named by what they hold.
    case QAccessible::Client:
    case QAccessible::Border:
    case QAccessible::Pane:
    case QAccessible::LayeredPane:
    case QAccessible::StatusBar:
    case QAccessible::ScrollBar:
    case QAccessible::Cell:
    case QAccessible::Row:
    case QAccessible::Column:
    case QAccessible::RowHeader:
    case QAccessible::ColumnHeader:
    case QAccessible::ListItem:
    case QAccessible::TreeItem:
        return {};
    case QAccessible::StaticText:
        return widget && name != qobject_cast<QLabel *>(widget)->text()
                   ? QStringLiteral("reads '%1' for its text '%2'")
                         .arg(name, qobject_cast<QLabel *>(widget)->text())
                   : QString();
    case QAccessible::Graphic:
        if (decorative.contains(id))
            return name.isEmpty() ? QString() : QStringLiteral("decorates, yet is named '%1'").arg(name);
        break;
    default:
        break;
    }
    if (name.trimmed().isEmpty())
        return QStringLiteral("has no name (role 0x%1)").arg(int(node->role()), 0, 16);
    if (controlNames.contains(name) && !(widget && visibleTextsOf(widget).contains(name)))
        return QStringLiteral("is named by the object name '%1'").arg(name);
    return {};
}

// Makes `widget`'s page, and every page holding that, the current one.
void reveal(QWidget *widget) {
    for (QWidget *w = widget; w; w = w->parentWidget())
        if (auto *tabs =
                qobject_cast<QTabWidget *>(w->parentWidget() ? w->parentWidget()->parentWidget() : nullptr);
            tabs && tabs->indexOf(w) >= 0)
            tabs->setCurrentWidget(w);
}

} // namespace

// Every control of every page, shown or not yet shown, has a name a person can read: its text, its
// label, the group it sits in, or a name of its own, never its object name; pictures that only
// decorate have none, so that screen readers pass over them.
void TestAccessibility::everyControlOfEveryPageHasAHumanName() {
    Window w;
    QSet<QString> controlNames;
    for (QWidget *widget : w.form.findChildren<QWidget *>())
        if (!widget->objectName().isEmpty() && !widget->objectName().startsWith("qt_"))
            controlNames << widget->objectName();
    const QSet<QString> decorative = {"OXA1",      "OXAF1",    "OXAL1",    "OXAPanel1", "Sipka1",
                                      "Sipkaf1",   "SipkaPA1", "OXA2",     "OXAF2",     "OXAL2",
                                      "OXAPanel2", "Image5",   "SipkaPA2", "SipkaPB2",  "Image3"};
    QStringList problems;
    QSet<QString> reached;
    walk(accessible(&w.form), [&](QAccessibleInterface *node) {
        const QString id = node->object() ? node->object()->objectName() : QString();
        reached << id;
        if (const QString problem = problemOf(node, controlNames, decorative); !problem.isEmpty())
            problems << id + ": " + problem;
        // The drop-down list and text of a combo box belong to it.
        return node->role() != QAccessible::ComboBox;
    });
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    // The walk went through every page: it met every control of the window.
    for (const char *far : {"ADMIN7", "ALARMOFF", "M4Acces", "Ne", "TreeCode", "List", "PhoneBook1", "DetBut",
                            "WaitBUF", "OXAPanel2", "StatusBar1Panel4"})
        QVERIFY2(reached.contains(far), far);
}

// A label whose text changes reads as it stands now, not as it stood at start-up.
void TestAccessibility::changingTextsReadAsTheyStand() {
    Window w;
    const auto label = [&w](const char *name) { return w.form.ctl<QLabel>(name); };
    w.fakes.port.deliver("#SPN: T-Mobile CZ\r\n#CBC: 0,405\r\n");
    QCOMPARE(nameOf(label("StatusBar1Panel0")), QString("Operator:  T-Mobile CZ"));
    QCOMPARE(nameOf(label("StatusBar1Panel1")), QString(" board voltage: 4050 mV"));
    QCOMPARE(nameOf(label("Voltage")), QString("4050 mV"));
    w.form.ctl<QLineEdit>("Button")->setText("12");
    QCOMPARE(nameOf(label("LabelButton")), label("LabelButton")->text());
    QVERIFY(label("LabelButton")->text().contains("12"));
    for (const char *panel : {"StatusBar1Panel2", "StatusBar1Panel3", "StatusBar1Panel4"}) {
        w.form.setPanelText(QByteArray(panel).back() - '0', QStringLiteral("changed"));
        QCOMPARE(nameOf(label(panel)), QString("changed"));
    }
}

// Group boxes by their titles, lists by their labels with the choice as their value, pictures as
// pictures: the ones that tell something by what they tell, the others not at all.
void TestAccessibility::groupsListsAndPicturesAreNamedByWhatTheyShow() {
    Window w;
    const auto control = [&w](const char *name) { return w.form.ctl<QWidget>(name); };
    QCOMPARE(nameOf(control("GroupBox4")), w.form.ctl<QGroupBox>("GroupBox4")->title());
    QCOMPARE(nameOf(control("GroupBox5")), QString("PC"));
    QCOMPARE(nameOf(control("Relay1")), QString("Relay 1"));
    QCOMPARE(nameOf(control("Battery")), QString("Battery"));
    QCOMPARE(nameOf(control("BVoltage")), QString("Battery"));

    auto *position = w.form.ctl<QComboBox>("PosButton");
    position->setEditText("3");
    QCOMPARE(nameOf(position), QString("Position"));
    QCOMPARE(accessible(position)->text(QAccessible::Value), QString("3"));
    QCOMPARE(accessible(position)->role(), QAccessible::ComboBox);
    QCOMPARE(nameOf(control("M1Acces")), QString("Access Number"));
    QCOMPARE(nameOf(control("waiting")), QString("Waiting Call"));
    QCOMPARE(nameOf(control("Ne")), QString("Su"));

    for (const char *picture : {"DeviceRun", "RXDled", "OXAPanel1", "Sipka1"})
        QCOMPARE(accessible(control(picture))->role(), QAccessible::Graphic);
    QCOMPARE(nameOf(control("DeviceRun")), QString("Run mode"));
    QCOMPARE(nameOf(control("OXAPanel1")), QString());
#if QT_VERSION >= QT_VERSION_CHECK(6, 9, 0)
    QCOMPARE(control("GroupBox4")->accessibleIdentifier(), QString("GroupBox4"));
#endif
}

void TestAccessibility::checkBoxesActAlikeHoweverToggled_data() {
    QTest::addColumn<QString>("box");
    Window w;
    for (QCheckBox *box : w.form.findChildren<QCheckBox *>())
        QTest::newRow(qPrintable(box->objectName())) << box->objectName();
}

// Clicked, toggled with Space or toggled by an assistive tool, a check box changes the window, and
// sends to the unit, exactly the same.
void TestAccessibility::checkBoxesActAlikeHoweverToggled() {
    QFETCH(QString, box);
    enum Way { Click, Space, AssistiveTool };
    QStringList outcomes;
    for (const Way way : {Click, Space, AssistiveTool}) {
        Window w;
        auto *button = w.form.findChild<QCheckBox *>(box);
        reveal(button);
        button->setEnabled(true);
        const bool before = button->isChecked();
        switch (way) {
        case Click:
            button->click();
            break;
        case Space:
            QTest::keyClick(button, Qt::Key_Space);
            break;
        case AssistiveTool:
            accessible(button)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
            break;
        }
        QVERIFY(button->isChecked() != before || !w.fakes.port.sent.isEmpty());
        QStringList outcome;
        for (QAbstractButton *other : w.form.findChildren<QAbstractButton *>())
            if (other->isCheckable())
                outcome << other->objectName() + '=' + QString::number(other->isChecked());
        for (const QByteArray &sent : w.fakes.port.sent)
            outcome << QString::fromLatin1(sent);
        outcomes << (outcome + w.fakes.errors.messages).join('\n');
    }
    QCOMPARE(outcomes[1], outcomes[0]);
    QCOMPARE(outcomes[2], outcomes[0]);
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
