#pragma once

#include "codepagecodec.h"
#include "entries.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace oxa {

// A choice in one of the editors' drop-down lists.
struct ListChoice {
    int index = -1;  // item to select; -1: no item, the list's text is then empty
    QByteArray text; // the list's text after the choice
    QString error;   // not empty: the value was not a number; select nothing, show this once, stop
};

// Position lists PosMemo and PosButton: items "1" to "7", item 0 ("1") at start.
QList<QByteArray> positionItems();
// The position list's choice for an item index; out of range gives no item and an empty text.
ListChoice positionItem(int index);

// Preview of the entry a write would produce: "(M" + memory + "-" + position + ")" ("(B" for buttons).
// Before the first edit the labels read "M" and "B".
QByteArray memoryPreviewLabel(MemoryKind kind, const QByteArray &memory, const QByteArray &position);
QByteArray initialMemoryLabel(MemoryKind kind);

// Position change: the new label, or nothing when the memory box is empty (the label stays).
std::optional<QByteArray> labelAfterPositionChange(MemoryKind kind, const QByteArray &memory,
                                                   const QByteArray &position);

// Add: the next free position of the memory shown in the selection tree (with 3 nodes, item 3: "4");
// with seven or more nodes there is no such item and the list is left empty.
ListChoice addPosition(int selectionNodeCount);

// Click on a selection-tree node: the fields it fills, in this order.
//   1. memory -> Button / Memo (its change handler then filters it and updates the label);
//   2. position -> PosButton / PosMemo; on position.error show it once and skip steps 3-4;
//   3. the label, memoryPreviewLabel(kind, memory box text, position list text);
//   4. number -> ButtonPNumber / MemoPNumber.
struct SelectionNodeFields {
    QByteArray memory;
    ListChoice position;
    QByteArray number;
};
// A message quotes the node's bytes as `codec` shows them.
SelectionNodeFields readSelectionNode(MemoryKind kind, const QByteArray &text, const CodePageCodec &codec);

} // namespace oxa
