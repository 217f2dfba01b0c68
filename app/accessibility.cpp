#include "accessibility.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLineEdit>
#include <QSvgWidget>

namespace oxa {

namespace {

class ComboBoxAccessible : public QAccessibleWidget {
public:
    explicit ComboBoxAccessible(QComboBox *combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    QComboBox *comboBox() const { return static_cast<QComboBox *>(widget()); }

    // The drop-down list, and for an editable box its text.
    int childCount() const override { return comboBox()->isEditable() ? 2 : 1; }
    QAccessibleInterface *child(int index) const override {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(comboBox()->view());
        if (index == 1 && comboBox()->isEditable())
            return QAccessible::queryAccessibleInterface(comboBox()->lineEdit());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override {
        if (!child)
            return -1;
        if (child->object() == comboBox()->view())
            return 0;
        if (comboBox()->isEditable() && child->object() == comboBox()->lineEdit())
            return 1;
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override {
        QLineEdit *edit = comboBox()->lineEdit();
        if (edit && QRect(edit->mapToGlobal(QPoint(0, 0)), edit->size()).contains(x, y))
            return QAccessible::queryAccessibleInterface(edit);
        return nullptr;
    }

    // The name is the accessible name or the label's text (QAccessibleWidget's); the value the text shown.
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return comboBox()->currentText();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = comboBox()->view()->isVisible();
        state.editable = comboBox()->isEditable();
        return state;
    }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString &actionName) override {
        if (actionName != showMenuAction() && actionName != pressAction())
            return;
        if (comboBox()->view()->isVisible())
            comboBox()->hidePopup();
        else
            comboBox()->showPopup();
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }
};

class PictureAccessible : public QAccessibleWidget {
public:
    explicit PictureAccessible(QWidget *picture) : QAccessibleWidget(picture, QAccessible::Graphic) {}
};

QAccessibleInterface *windowControlsFactory(const QString &className, QObject *object) {
    if (className == QLatin1String("QComboBox"))
        return new ComboBoxAccessible(static_cast<QComboBox *>(object));
    if (className == QLatin1String("QSvgWidget"))
        return new PictureAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

void installAccessibleInterfaces() {
    static const bool installed = [] {
        QAccessible::installFactory(windowControlsFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace oxa
