#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace oxa {

// A row of the phone-book grid: one SIM entry that is not a key entry, held as "name=phone".
struct PhoneBookRow {
    QByteArray name;
    QByteArray phone;
    // False only for a row made from a line without "="; such a row has an empty name that Find never
    // matches. Rows the user inserts or edits have a separator.
    bool separator = true;
    friend bool operator==(const PhoneBookRow &, const PhoneBookRow &) = default;
};

// Splits a line at its first "=": the part before is the name, the rest the phone. A line without "="
// is a row with an empty name and the whole line as its phone.
PhoneBookRow splitPhoneBookLine(const QByteArray &line);
// The row as one line: name, "=", phone (also for a row that had no separator).
QByteArray phoneBookLine(const PhoneBookRow &row);

// Find: the whole name equals `wanted`, letter case ignored (names are compared as the grid shows them).
bool phoneBookNameMatches(const QString &rowName, bool rowHasSeparator, const QString &wanted);
// Index of the first matching row, or -1.
int findPhoneBookRow(const QList<PhoneBookRow> &rows, const QString &wanted);

// Insert Line with `rowCount` rows and `currentRow` current (-1: none). Returns the index at which to
// insert the empty row, which then becomes the current row; nullopt when the current row is already an
// empty row (nothing changes). With no current row the row goes first.
std::optional<int> insertLineIndex(int rowCount, int currentRow, bool currentRowIsEmpty);

// Down on the last row appends an empty row, as in a value list: the index of the new row (then the
// current one), or nullopt when the current row is not the last or is empty already.
std::optional<int> appendLineIndex(int rowCount, int currentRow, bool currentRowIsEmpty);

struct LineDeletion {
    int row;          // the row to delete
    int currentAfter; // the current row after the deletion, -1 when no row is left
    friend bool operator==(const LineDeletion &, const LineDeletion &) = default;
};
// Delete Line: deletes the current row; deleting the last of several rows leaves the row above it current.
// nullopt when there is no row or no current row: nothing to delete, and nothing is reported.
std::optional<LineDeletion> deleteLine(int rowCount, int currentRow);

} // namespace oxa
