#include "changeplan.h"

#include "devicecommands.h"
#include "entryline.h"

#include <QObject>
#include <QStringList>

namespace oxa {

QList<std::optional<SimSlot>> wholeWriteLayout(const QList<QByteArray> &keyValues,
                                               const QList<WriteRow> &rows, int simSize) {
    QList<std::optional<SimSlot>> layout(qMax(simSize, 0));
    int index = 0;
    const auto place = [&](const QByteArray &name, const QByteArray &number) {
        if (name.isEmpty() || number.isEmpty() || index >= layout.size())
            return;
        layout[index++] = SimSlot{name, number};
    };
    for (int key = 0; key < WriteKeyCount; ++key)
        place(writeKeys()[key], keyValues.value(key));
    for (const WriteRow &row : rows)
        place(row.name, row.number);
    return layout;
}

bool standsAsWanted(const ReadEntry *listed, const std::optional<SimSlot> &wanted) {
    if (!wanted)
        return listed == nullptr;
    return listed && listed->name == wanted->name && listed->number == wanted->number &&
           listed->type == typeOfWrittenNumber(wanted->number);
}

QList<ChangeAction> planChangedWrite(const QList<std::optional<SimSlot>> &layout, const Listing &listing) {
    QList<ChangeAction> actions;
    for (int index = 1; index <= layout.size(); ++index) {
        const std::optional<SimSlot> &wanted = layout[index - 1];
        if (standsAsWanted(listing.entryAt(index), wanted))
            continue;
        ChangeAction action;
        action.index = index;
        if (wanted) {
            action.name = wanted->name;
            action.command = at::writeEntry(index, wanted->number, wanted->name).line;
            action.log = QStringLiteral("SIM") + QString::number(index);
        } else {
            action.deletes = true;
            action.command = at::deleteEntry(index);
            action.log = QStringLiteral("delete SIM") + QString::number(index);
        }
        actions.append(action);
    }
    return actions;
}

WriteVerification verifyWrite(const QList<std::optional<SimSlot>> &layout, const Listing &readBack) {
    WriteVerification result;
    for (int index = 1; index <= layout.size(); ++index) {
        if (layout[index - 1])
            ++result.entries;
        if (!standsAsWanted(readBack.entryAt(index), layout[index - 1]))
            result.differing.append(index);
    }
    // An entry the listing shows beyond the layout's indexes was not written either.
    for (const ReadEntry &entry : readBack.entries)
        if (entry.index > layout.size())
            result.differing.append(entry.index);
    return result;
}

QString describeVerification(const WriteVerification &verification, int changed) {
    if (verification.ok())
        return QObject::tr("verified: %1 entries, %2 changed").arg(verification.entries).arg(changed);
    QStringList indexes;
    for (const int index : verification.differing)
        indexes << QString::number(index);
    return QObject::tr("SIM indexes %1 differ from what was written").arg(indexes.join(QStringLiteral(", ")));
}

} // namespace oxa
