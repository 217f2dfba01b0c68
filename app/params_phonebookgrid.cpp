#include "params_phonebookgrid.h"

#include "shownbytes.h"

#include <QTableWidget>

namespace oxa {

namespace {

constexpr int NameColumn = 0;
constexpr int PhoneColumn = 1;
constexpr int NoSeparatorRole = Qt::UserRole;
constexpr int StandInRole = Qt::UserRole + 1;

QString cellText(const QTableWidget *grid, int row, int column) {
    const QTableWidgetItem *item = grid->item(row, column);
    return item ? item->text() : QString();
}

QByteArray cellBytes(const QTableWidget *grid, int row, int column, const CodePageCodec &codec) {
    return shownTextBytes(codec, cellText(grid, row, column));
}

void setRowItems(QTableWidget *grid, int index, const PhoneBookRow &row, const CodePageCodec &codec) {
    auto *name = new QTableWidgetItem(codec.decode(row.name));
    if (!row.separator)
        name->setData(NoSeparatorRole, true);
    grid->setItem(index, NameColumn, name);
    grid->setItem(index, PhoneColumn, new QTableWidgetItem(codec.decode(row.phone)));
}

void showStandInRow(QTableWidget *grid) {
    grid->setRowCount(1);
    auto *name = new QTableWidgetItem;
    name->setData(StandInRole, true);
    grid->setItem(0, NameColumn, name);
    grid->setItem(0, PhoneColumn, new QTableWidgetItem);
}

} // namespace

bool showsOnlyStandInRow(const QTableWidget *grid) {
    if (grid->rowCount() != 1)
        return false;
    const QTableWidgetItem *name = grid->item(0, NameColumn);
    // Once something is typed into it, it is a row like any other.
    return name && name->data(StandInRole).toBool() && cellText(grid, 0, NameColumn).isEmpty() &&
           cellText(grid, 0, PhoneColumn).isEmpty();
}

PhoneBookRow phoneBookGridRow(const QTableWidget *grid, int row, const CodePageCodec &codec) {
    PhoneBookRow result{cellBytes(grid, row, NameColumn, codec), cellBytes(grid, row, PhoneColumn, codec)};
    const QTableWidgetItem *name = grid->item(row, NameColumn);
    // Once a name has been typed in, the row reads as "name=phone" like any other.
    result.separator = !(name && name->data(NoSeparatorRole).toBool() && result.name.isEmpty());
    return result;
}

QList<PhoneBookRow> phoneBookGridRows(const QTableWidget *grid, const CodePageCodec &codec) {
    QList<PhoneBookRow> rows;
    rows.reserve(grid->rowCount());
    for (int row = 0; row < grid->rowCount(); ++row)
        rows.append(phoneBookGridRow(grid, row, codec));
    return rows;
}

QList<PhoneBookRow> phoneBookEntryRows(const QTableWidget *grid, const CodePageCodec &codec) {
    return showsOnlyStandInRow(grid) ? QList<PhoneBookRow>() : phoneBookGridRows(grid, codec);
}

void setPhoneBookGridRows(QTableWidget *grid, const QList<PhoneBookRow> &rows, const CodePageCodec &codec) {
    const bool updates = grid->updatesEnabled();
    grid->setUpdatesEnabled(false);
    grid->clearContents();
    if (rows.isEmpty()) {
        showStandInRow(grid);
    } else {
        grid->setRowCount(int(rows.size()));
        for (int i = 0; i < rows.size(); ++i)
            setRowItems(grid, i, rows[i], codec);
    }
    grid->setUpdatesEnabled(updates);
}

void insertPhoneBookGridRow(QTableWidget *grid, int index, const PhoneBookRow &row,
                            const CodePageCodec &codec) {
    if (showsOnlyStandInRow(grid)) {
        setRowItems(grid, 0, row, codec);
        return;
    }
    grid->insertRow(index);
    setRowItems(grid, index, row, codec);
}

void removePhoneBookGridRow(QTableWidget *grid, int index) {
    grid->removeRow(index);
    if (grid->rowCount() == 0)
        showStandInRow(grid);
}

} // namespace oxa
