#pragma once

#include "codepagecodec.h"
#include "phonebookrows.h"

#include <QList>

class QTableWidget;

namespace oxa {

// The phone-book grid: column 0 the name, column 1 the phone. Bytes show as the characters of the code
// page, one for each, so an entry goes back to the unit and into a file byte for byte. Reading a row
// throws UnencodableText for a cell holding a character the code page cannot hold (its editor refuses
// them). A row made from a line without "="
// carries that in Qt::UserRole of its name cell (Find never matches it).
//
// Like a value list, the grid never shows fewer than one row: with no phone-book rows it shows one
// empty stand-in row. The write treats it as the empty row it shows (one "AT", no SIM index); a file
// keeps no line for it. The first row added, inserted or loaded takes its place.

// Every row the grid shows, the stand-in included.
QList<PhoneBookRow> phoneBookGridRows(const QTableWidget *grid, const CodePageCodec &codec);
// The phone-book rows: every row shown but the stand-in.
QList<PhoneBookRow> phoneBookEntryRows(const QTableWidget *grid, const CodePageCodec &codec);
PhoneBookRow phoneBookGridRow(const QTableWidget *grid, int row, const CodePageCodec &codec);
bool showsOnlyStandInRow(const QTableWidget *grid);

// No rows leaves the stand-in.
void setPhoneBookGridRows(QTableWidget *grid, const QList<PhoneBookRow> &rows, const CodePageCodec &codec);
void insertPhoneBookGridRow(QTableWidget *grid, int index, const PhoneBookRow &row,
                            const CodePageCodec &codec);
// Removing the last row leaves the stand-in.
void removePhoneBookGridRow(QTableWidget *grid, int index);

} // namespace oxa
