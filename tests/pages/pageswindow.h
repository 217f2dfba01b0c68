#pragma once

// A started window for the settings and phone-book pages, and a readable picture of everything those
// pages hold, so that a test can say "nothing changed" or "exactly this changed".
#include "fakeseams.h"
#include "keyentries.h"
#include "params_widgets.h"
#include "settingscontrols.h"
#include "tform1.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QSlider>
#include <QTableWidget>
#include <QTemporaryDir>
#include <memory>

namespace oxa::test {

struct PagesWindow {
    // `settings`: the settings file's content, if there is to be one.
    explicit PagesWindow(const QByteArray &settings = {}) {
        if (!settings.isEmpty()) {
            QFile file(folder.filePath(QStringLiteral("OXAset.ini")));
            if (file.open(QIODevice::WriteOnly))
                file.write(settings);
        }
        form = std::make_unique<TForm1>(fakes.seams(), folder.filePath(QStringLiteral("OXAset")));
        form->start();
    }

    QLineEdit *edit(const QString &name) const { return qobject_cast<QLineEdit *>(form->control(name)); }
    QAbstractButton *button(const QString &name) const {
        return qobject_cast<QAbstractButton *>(form->control(name));
    }
    QTableWidget *grid() const { return form->ctl<QTableWidget>("PhoneBook1"); }
    QString filePath(const QString &name) const { return folder.filePath(name); }

    void setStrings(const QByteArray &paroxa, const QByteArray &parrl1, const QByteArray &parrl2,
                    const QByteArray &parkey) {
        form->configuration().setStrings({paroxa, parrl1, parrl2, parkey});
    }
    QByteArrayList strings() const {
        const ParameterStrings &held = form->configuration().strings();
        return {held.paroxa, held.parrl1, held.parrl2, held.parkey};
    }

    // Names of the settings buttons that are checked, in a fixed order.
    QStringList checkedButtons() const {
        QStringList names;
        for (const QString &name : settingsControlNames())
            if (QAbstractButton *b = button(name); b && b->isChecked())
                names << name;
        return names;
    }

    // The settings controls that are not buttons, as "name=value".
    QStringList settingsValues() const {
        QStringList values;
        for (const QString &name : settingsControlNames()) {
            QObject *control = form->control(name);
            if (auto *slider = qobject_cast<QSlider *>(control))
                values << name + '=' + QString::number(slider->value());
            else if (auto *combo = qobject_cast<QComboBox *>(control))
                values << name + '=' + QString::number(combo->currentIndex()) + ':' + combo->currentText();
            else if (auto *box = qobject_cast<QLineEdit *>(control))
                values << name + '=' + box->text();
        }
        return values;
    }

    QStringList gridLines() const {
        QStringList lines;
        for (int row = 0; row < grid()->rowCount(); ++row) {
            const QTableWidgetItem *name = grid()->item(row, 0);
            const QTableWidgetItem *phone = grid()->item(row, 1);
            lines << (name ? name->text() : QString()) + '|' + (phone ? phone->text() : QString());
        }
        return lines;
    }

    // Everything the pages hold, for before/after comparisons.
    QStringList snapshot() const {
        QStringList all;
        for (const char *key : kEditBoxKeys)
            all << QLatin1String(key) + '=' + edit(QLatin1String(key))->text();
        for (int n = 1; n <= 7; ++n)
            all << "AABUTTON" + QString::number(n) + '=' + edit("AABUTTON" + QString::number(n))->text();
        all << checkedButtons() << settingsValues() << gridLines();
        all << "current=" + QString::number(grid()->currentRow());
        for (const QByteArray &s : strings())
            all << QString::fromLatin1(s);
        return all;
    }

    QTemporaryDir folder;
    FakeSeams fakes;
    std::unique_ptr<TForm1> form;
};

} // namespace oxa::test
