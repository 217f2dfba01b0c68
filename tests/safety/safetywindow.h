#pragma once

// A started window on a fake port that has read a small SIM whole, as a technician has it before the
// operation under test, with helpers to act on it as a user does.
#include "fakelisting.h"
#include "fakeseams.h"
#include "monitor.h"
#include "tform1.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace oxa::test {

// The SIM the window reads first: keys, a memory, a code, the detect entry and a plain row.
inline QList<QByteArray> smallSimLines() {
    return {entryLine(1, "+420111", "ADMIN1"), entryLine(2, "555", "M5-1"), entryLine(3, "1#0", "C246C"),
            entryLine(4, "1", "DETECT"), entryLine(5, "602", "Novak")};
}

struct SafetyWindow {
    explicit SafetyWindow(const QString &exeName = QStringLiteral("GSMQuend"))
        : form(fakes.seams(), folder.filePath(exeName)) {
        form.start();
        playRead(form, fakes.port, smallSimLines(), 40);
        clearRecords();
    }

    void clearRecords() {
        fakes.port.sent.clear();
        fakes.pause.pauses.clear();
        fakes.errors.messages.clear();
    }
    void line(const QByteArray &text) { fakes.port.deliver(text + "\r\n"); }
    void click(const char *name) { form.ctl<QAbstractButton>(name)->click(); }
    bool clickNode(const char *treeName, const QString &text) {
        auto *tree = form.ctl<QTreeWidget>(treeName);
        const QList<QTreeWidgetItem *> found = tree->findItems(text, Qt::MatchExactly);
        if (found.isEmpty())
            return false;
        tree->setCurrentItem(found.first());
        emit tree->itemClicked(found.first(), 0);
        return true;
    }
    QStringList nodes(const char *treeName) const {
        QStringList texts;
        const auto *tree = form.ctl<QTreeWidget>(treeName);
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            texts << tree->topLevelItem(i)->text(0);
        return texts;
    }
    // Runs a timer's tick as the event loop would once its time is up.
    void expire(const char *timerName) {
        auto *timer = form.findChild<QTimer *>(timerName);
        QVERIFY(timer && timer->isActive());
        timer->setInterval(0);
        for (int i = 0; i < 1000 && timer->isActive(); ++i)
            QCoreApplication::processEvents();
    }

    QTemporaryDir folder;
    FakeSeams fakes;
    TForm1 form;
};

} // namespace oxa::test
