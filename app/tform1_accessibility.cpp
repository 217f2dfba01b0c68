// What screen readers and UI automation see of the window.
#include "tform1.h"

#include "accessfield.h"

#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTabWidget>

namespace oxa {

// What screen readers and UI automation call the controls. Labels, buttons, group boxes and tabs are
// named by the text they show, also as it changes, and controls by their label, or else by the title of
// the group box they sit in; no accessible name is set for those, since a fixed one would hide later
// changes. The few controls with none of these are named here, after the settings file's texts: by the
// caption of what holds them or shows them, or by a name of their own. Pictures that only decorate get
// none.
void TForm1::updateAccessibleNames() {
    const auto tabCaption = [this](const char *page) {
        auto *tabs = qobject_cast<QTabWidget *>(ctl<QWidget>(page)->parentWidget()->parentWidget());
        return tabs->tabText(tabs->indexOf(ctl<QWidget>(page)));
    };
    const std::pair<const char *, QString> names[] = {
        // Its label is the unit, "sec.".
        {"waiting", ctl<QGroupBox>("WaitingCall")->title()},
        {"PhoneBook1", tabCaption("PhoneBook")},
        {"Monitor", tabCaption("TabSheet2")},
        {"List", tr("Files to upload")},
        {"TreeButtons", tr("Button memories")},
        {"TreeButtonsSel", tr("Memories of the selected button")},
        {"TreeMemo", tr("Keypad memories")},
        {"TreeMemoSel", tr("Memories of the selected keypad memory")},
        {"TreeCode", tr("Access codes")},
        {"Smeter", tr("Signal strength")},
        {"Prubeh", tr("Progress")},
        {"DeviceRun", tr("Run mode")},
        {"DeviceStop", tr("Programming mode")},
        {"DeviceNic", tr("Waiting for the unit")},
        {"RXDled", tr("Data on the serial line")},
    };
    for (const auto &[control, name] : names)
        ctl<QWidget>(control)->setAccessibleName(name);
    // The day boxes show no text of their own: the row of day names above them names them.
    const QStringList days = ctl<QLabel>("week")->text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QList<QString> dayBoxes = dayBoxNames();
    for (int day = 0; day < dayBoxes.size(); ++day)
        qobject_cast<QWidget *>(control(dayBoxes.at(day)))
            ->setAccessibleName(days.size() == dayBoxes.size()
                                    ? days.at(day)
                                    : QLocale().dayName(day + 1, QLocale::LongFormat));
    for (QObject *object : std::as_const(m_controls)) {
        // A group box in a group box would otherwise be named by the outer one's title.
        if (auto *group = qobject_cast<QGroupBox *>(object);
            group && qobject_cast<QGroupBox *>(group->parentWidget()))
            group->setAccessibleName(group->title());
        // The text of an editable list is named as the list.
        if (auto *combo = qobject_cast<QComboBox *>(object); combo && combo->lineEdit())
            combo->lineEdit()->setAccessibleName(
                QAccessible::queryAccessibleInterface(combo)->text(QAccessible::Name));
    }
#if QT_VERSION >= QT_VERSION_CHECK(6, 9, 0)
    // Automation finds the controls by the names the settings file and the program know them by.
    for (QObject *object : std::as_const(m_controls))
        if (auto *widget = qobject_cast<QWidget *>(object))
            widget->setAccessibleIdentifier(widget->objectName());
#endif
}

} // namespace oxa
