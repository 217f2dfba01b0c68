#pragma once

#include <QByteArray>
#include <QList>
#include <functional>

namespace oxa {

// Order of the five entry trees. Nodes are ordered by their name (the text between the first ":" and
// the first "["), compared byte by byte as unsigned values, a prefix before any longer name ("-" thus
// before the digits: M1-1, M1-2, M12-1, M2-1); the index is not part of the key, and nodes with equal
// names keep the order in which they arrived.
//
// This is exactly the order that repeated neighbour exchange produces (bubble passes from the first
// pair until a pass exchanges nothing), i.e. a stable sort by name; see exchangeSortNodeTexts. That
// procedure moves texts, never rows, so a selected row number stays selected: see addNodeInOrder.

// Strict order of two node texts by their names.
bool nodeTextLess(const QByteArray &a, const QByteArray &b);

// Row at which a new text belongs in an ordered tree: after every node whose name is not greater.
// O(log n) reads of `textAt(row)` for rows 0..count-1.
int nodeInsertRow(int count, const std::function<QByteArray(int)> &textAt, const QByteArray &text);
int nodeInsertRow(const QList<QByteArray> &orderedTexts, const QByteArray &text);

// The ordered texts after adding `text` (the new node is appended and the texts move to their order).
QList<QByteArray> withNodeAdded(QList<QByteArray> orderedTexts, const QByteArray &text);

// A tree as the ordering sees it; rows are numbered from 0.
struct TreeRows {
    std::function<int()> count;
    std::function<QByteArray(int)> textAt;
    // A new row with this text before `row` (row == count: at the end).
    std::function<void(int, const QByteArray &)> insertRow;
    std::function<int()> selectedRow; // -1 when no row is selected
    std::function<void(int)> selectRow;
};

// Adds a node to an ordered tree and returns its row. The outcome is that of the exchange procedure,
// which moves texts and never rows: every row shows the text ordered there, and the selected row number
// stays selected (showing whatever text is now there). Inserting one row and re-selecting the row
// number gives the same outcome without rewriting the texts below it.
int addNodeInOrder(const TreeRows &rows, const QByteArray &text);

// Any list of texts in tree order (stable).
QList<QByteArray> sortedNodeTexts(QList<QByteArray> texts);

// The neighbour-exchange procedure itself, step by step, with its cubic cost on a tree filled in
// reverse order: kept as the reference that the ordering above is checked and measured against.
void exchangeSortNodeTexts(QList<QByteArray> &texts);

} // namespace oxa
