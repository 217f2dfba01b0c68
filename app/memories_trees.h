#pragma once

#include "codepagecodec.h"

#include <QByteArray>
#include <QList>
#include <optional>

class QTreeWidget;

namespace oxa {

// The flat trees of tagged entries as lists of node texts. Node texts are bytes from the SIM, shown in
// the code page one character for each byte, so that they go back to the unit unchanged. Reading a node
// throws UnencodableText for a text the code page cannot hold (no node is made from anything but bytes).

QList<QByteArray> treeTexts(const QTreeWidget *tree, const CodePageCodec &codec);
// Text of the node selected in the tree; empty when none is selected.
std::optional<QByteArray> selectedNodeText(const QTreeWidget *tree, const CodePageCodec &codec);
// Adds a node at its place in the order of the tree; the selected row number stays selected.
void addNodeInOrder(QTreeWidget *tree, const QByteArray &text, const CodePageCodec &codec);
// Empties the tree and adds the texts in order.
void fillTree(QTreeWidget *tree, const QList<QByteArray> &texts, const CodePageCodec &codec);
// Puts the texts of a tree that is out of order (a node added by other means) back in order, moving
// texts and not rows, as the ordered addition would have. Returns whether anything moved.
bool restoreNodeOrder(QTreeWidget *tree, const CodePageCodec &codec);
// Whether top-level rows first..last, just inserted into a tree that was in order, stand in order with
// their neighbours: then the whole tree is in order and there is nothing to restore. Costs O(last -
// first), where restoreNodeOrder reads every node. Never throws: a text the code page cannot hold
// counts as out of order, and the restore then says what it is.
bool nodesInOrderAround(const QTreeWidget *tree, int first, int last, const CodePageCodec &codec);
// Leaves no node selected, so that the next write creates a new entry.
void clearNodeSelection(QTreeWidget *tree);

} // namespace oxa
