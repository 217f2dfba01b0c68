#include "params_widgets.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>

namespace oxa {

namespace {

bool setChecked(QAbstractButton *button, bool checked) {
    if (checked || !button->autoExclusive()) {
        button->setChecked(checked);
        return true;
    }
    // An auto-exclusive radio button refuses to be cleared; decoding leaves a group with none selected.
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
    return true;
}

// Qt shows the item's text in an editable box, also over typed text, and an empty text for index -1.
bool setIndex(QComboBox *combo, int index) {
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
    return true;
}

} // namespace

bool applyControlOpToWidget(QObject *control, const ControlOp &op) {
    switch (op.kind) {
    case ControlOp::Kind::Checked:
        if (auto *button = qobject_cast<QAbstractButton *>(control))
            return setChecked(button, op.checked);
        return false;
    case ControlOp::Kind::Text:
        if (auto *edit = qobject_cast<QLineEdit *>(control)) {
            // The same text again raises no change, so the filter does not run for it.
            if (edit->text() != op.text)
                edit->setText(op.text);
            return true;
        }
        if (auto *combo = qobject_cast<QComboBox *>(control); combo && combo->isEditable()) {
            combo->setEditText(op.text);
            return true;
        }
        return false;
    case ControlOp::Kind::Position:
        if (auto *slider = qobject_cast<QSlider *>(control)) {
            slider->setValue(op.value); // clamped to the bar's range
            return true;
        }
        return false;
    case ControlOp::Kind::Index:
        if (auto *combo = qobject_cast<QComboBox *>(control))
            return setIndex(combo, op.value);
        return false;
    }
    return false;
}

ControlReader widgetControlReader(const ControlLookup &lookup) {
    ControlReader reader;
    reader.checked = [lookup](const QString &name) {
        auto *button = qobject_cast<QAbstractButton *>(lookup(name));
        return button && button->isChecked();
    };
    reader.text = [lookup](const QString &name) {
        QObject *control = lookup(name);
        if (auto *edit = qobject_cast<QLineEdit *>(control))
            return edit->text();
        if (auto *combo = qobject_cast<QComboBox *>(control))
            return combo->currentText();
        return QString();
    };
    reader.value = [lookup](const QString &name) {
        QObject *control = lookup(name);
        if (auto *slider = qobject_cast<QSlider *>(control))
            return slider->value();
        if (auto *combo = qobject_cast<QComboBox *>(control))
            return combo->currentIndex();
        return -1;
    };
    return reader;
}

} // namespace oxa
