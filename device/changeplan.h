#pragma once

#include "unitread.h"
#include "writeplan.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace oxa {

// One SIM index as a whole write leaves it.
struct SimSlot {
    QByteArray name;
    QByteArray number;
    bool operator==(const SimSlot &) const = default;
};

// The number's type the module stores when the write command leaves the type field empty.
constexpr int typeOfWrittenNumber(QByteArrayView number) {
    return !number.isEmpty() && number.front() == '+' ? 145 : 129;
}

// What the whole write leaves on the SIM, index by index from 1 to simSize: the non-empty keys in their
// fixed order, then the grid rows with a name and a number, each at the next index; every index after
// them empty (nullopt). Entries beyond simSize are not there (checkWholeWrite refuses such a write).
QList<std::optional<SimSlot>> wholeWriteLayout(const QList<QByteArray> &keyValues,
                                               const QList<WriteRow> &rows, int simSize);

// Whether the listed entry at an index already stands as the layout wants it there: name, number and
// the type the module would give the number.
bool standsAsWanted(const ReadEntry *listed, const std::optional<SimSlot> &wanted);

// One command of a change-only write.
struct ChangeAction {
    int index = 0;
    bool deletes = false;
    QByteArray name;    // the entry written (empty for a delete)
    QByteArray command; // "AT+CPBW=" + index + "," + number + ",," + name, or "AT+CPBW=" + index
    QString log;        // "SIM" + index, or "delete SIM" + index, as the whole write logs them
};

// The commands that turn the SIM as `listing` shows it into the whole write's layout: a write or a delete
// for every index whose entry differs, in index order, and nothing for the others. The end state is the
// whole write's, byte for byte.
QList<ChangeAction> planChangedWrite(const QList<std::optional<SimSlot>> &layout, const Listing &listing);

// The read-back after a write against its layout.
struct WriteVerification {
    int entries = 0;      // entries the layout holds
    QList<int> differing; // indexes whose listed entry is not the layout's
    bool ok() const { return differing.isEmpty(); }
};
WriteVerification verifyWrite(const QList<std::optional<SimSlot>> &layout, const Listing &readBack);
// "verified: 31 entries, 2 changed", or "SIM indexes 4, 7 differ from what was written".
QString describeVerification(const WriteVerification &verification, int changed);

} // namespace oxa
