#pragma once

// A started window of the variant that shows the module pages, with helpers to read entries into it
// and to act on its trees as a user does.
#include "fakeseams.h"
#include "keyentries.h"
#include "tform1.h"
#include "unitread.h"

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

    // A whole listing of a 250-entry SIM, as the receive parser hands it over once its last "OK" came.
    void read(const QList<SimEntry> &entries) {
        Listing listing;
        listing.sim = SimGeometry{250, 40, 18};
        for (const SimEntry &entry : entries)
            listing.entries.append(ReadEntry{entry.index.toInt(), entry.index, entry.number, entry.name});
        form.configuration().applyListing(listing);
    }

    // The unit takes the change just sent ("OK"), and the re-read that follows lists `entries`; each
    // answer comes after the command it answers.
    void acceptAndReread(const QList<SimEntry> &entries) {
        fakes.port.setDtr(true);
        fakes.port.deliver("OK\r\n");
        fakes.port.deliver("#SPN: Operator\r\nOK\r\n");
        fakes.port.deliver("+CPBR: (1-250),40,18\r\nOK\r\n");
        for (const SimEntry &entry : entries)
            fakes.port.deliver("+CPBR: " + entry.index + ",\"" + entry.number + "\",129,\"" + entry.name +
                               "\"\r\n");
        fakes.port.deliver("OK\r\n");
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
