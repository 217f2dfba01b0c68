#include "entries.h"

#include "nodetext.h"

namespace oxa {

const char *entryTreeName(EntryTree tree) {
    switch (tree) {
    case EntryTree::Memo:
        return "TreeMemo";
    case EntryTree::MemoSel:
        return "TreeMemoSel";
    case EntryTree::Buttons:
        return "TreeButtons";
    case EntryTree::ButtonsSel:
        return "TreeButtonsSel";
    case EntryTree::Code:
        return "TreeCode";
    }
    return "";
}

EntryTree allEntriesTree(MemoryKind kind) {
    return kind == MemoryKind::Keyboard ? EntryTree::Memo : EntryTree::Buttons;
}

EntryTree selectionTree(MemoryKind kind) {
    return kind == MemoryKind::Keyboard ? EntryTree::MemoSel : EntryTree::ButtonsSel;
}

bool isMemoryName(MemoryKind kind, const QByteArray &name) {
    if (!name.startsWith(memoryTag(kind)))
        return false;
    const qsizetype dash = name.indexOf('-');
    return dash >= 0 && dash == name.size() - 2;
}

bool isCodeName(const QByteArray &name) {
    if (!name.startsWith('C'))
        return false;
    const qsizetype closing = name.indexOf('C', 1);
    return closing >= 0 && closing == name.size() - 1;
}

bool isDetectEntry(const QByteArray &name, const QByteArray &number) {
    return name == "DETECT" && number == "1";
}

QByteArray detectEntryText(const QByteArray &index) {
    return nodeText(index, "DETECT", "1");
}

bool belongsToSelection(const QByteArray &name, const QByteArray &selectedPrefix) {
    return !selectedPrefix.isEmpty() && name.startsWith(selectedPrefix);
}

EntryPlacement placeReadEntry(const QByteArray &index, const QByteArray &number, const QByteArray &name,
                              const QByteArray &selectedMemoPrefix, const QByteArray &selectedButtonPrefix) {
    EntryPlacement placement;
    placement.nodeText = nodeText(index, name, number);
    if (isMemoryName(MemoryKind::Keyboard, name))
        placement.trees.append(EntryTree::Memo);
    if (belongsToSelection(name, selectedMemoPrefix))
        placement.trees.append(EntryTree::MemoSel);
    if (isMemoryName(MemoryKind::Button, name))
        placement.trees.append(EntryTree::Buttons);
    if (belongsToSelection(name, selectedButtonPrefix))
        placement.trees.append(EntryTree::ButtonsSel);
    if (isCodeName(name))
        placement.trees.append(EntryTree::Code);
    if (isDetectEntry(name, number))
        placement.detectEntry = detectEntryText(index);
    return placement;
}

QByteArray selectionPrefixOfNode(const QByteArray &text) {
    return nodeMemoryPrefix(text);
}

QList<QByteArray> selectionNodeTexts(const QList<QByteArray> &allTexts, const QByteArray &prefix) {
    QList<QByteArray> selected;
    for (const QByteArray &text : allTexts) {
        // The text after the first ":" starts with the name, so this is the read's rule on the name.
        if (belongsToSelection(text.mid(text.indexOf(':') + 1), prefix))
            selected.append(text);
    }
    return selected;
}

} // namespace oxa
