#pragma once

// A started window of the variant that shows the module pages, with helpers to read entries into it
// and to act on its trees as a user does.
#include "fakeseams.h"
#include "keyentries.h"
#include "tform1.h"

#include <QTemporaryDir>
#include <QTreeWidget>

namespace oxa::test {

struct SimEntry {
    QByteArray index;
    QByteArray number;
    QByteArray name;
};

struct MemoryWindow {
    MemoryWindow() : form(fakes.seams(), folder.filePath(QStringLiteral("GSMQuend"))) {
        form.start();
        fakes.port.sent.clear();
        fakes.pause.pauses.clear();
    }

    // Entries of one read as the receive parser hands them over: the first entry that is not a key
    // lowers FirstEntryOfRead after the trees have taken it.
    void read(const QList<SimEntry> &entries) {
        form.state.FirstEntryOfRead = true;
        for (const SimEntry &entry : entries) {
            form.decodeTaggedEntry(entry.index, entry.number, entry.name);
            if (keyKind(entry.name) == KeyKind::None)
                form.state.FirstEntryOfRead = false;
        }
    }

    QTreeWidget *tree(const char *name) { return form.ctl<QTreeWidget>(name); }

    QList<QByteArray> texts(const char *treeName) {
        QList<QByteArray> result;
        QTreeWidget *t = tree(treeName);
        for (int row = 0; row < t->topLevelItemCount(); ++row)
            result << t->topLevelItem(row)->text(0).toLatin1();
        return result;
    }

    // Selects the node with this text and clicks it, as the mouse would.
    bool click(const char *treeName, const QByteArray &text) {
        QTreeWidget *t = tree(treeName);
        const QList<QTreeWidgetItem *> found = t->findItems(QString::fromLatin1(text), Qt::MatchExactly);
        if (found.isEmpty())
            return false;
        t->setCurrentItem(found.first());
        emit t->itemClicked(found.first(), 0);
        return true;
    }

    QTemporaryDir folder;
    FakeSeams fakes;
    TForm1 form;
};

} // namespace oxa::test
