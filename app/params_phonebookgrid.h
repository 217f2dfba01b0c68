#pragma once

#include "phonebookrows.h"

#include <QList>

class QTableWidget;

namespace oxa {

// The phone-book grid: column 0 the name, column 1 the phone. Bytes map to characters 1:1 (Latin-1),
// so an entry goes back to the unit and into a file byte for byte. A row made from a line without "="
// carries that in Qt::UserRole of its name cell (Find never matches it).

QList<PhoneBookRow> phoneBookGridRows(const QTableWidget *grid);
PhoneBookRow phoneBookGridRow(const QTableWidget *grid, int row);
void setPhoneBookGridRows(QTableWidget *grid, const QList<PhoneBookRow> &rows);
void insertPhoneBookGridRow(QTableWidget *grid, int index, const PhoneBookRow &row);

} // namespace oxa
