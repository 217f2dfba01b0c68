#pragma once

#include <QByteArray>
#include <QList>

namespace oxa {

// The two kinds of dial memory: keypad memories (tag "M") and button memories (tag "B").
enum class MemoryKind { Keyboard, Button };

constexpr char memoryTag(MemoryKind kind) {
    return kind == MemoryKind::Keyboard ? 'M' : 'B';
}

// The five flat trees that hold tagged entries.
enum class EntryTree { Memo, MemoSel, Buttons, ButtonsSel, Code };

// Object name of the tree control ("TreeMemo", "TreeMemoSel", "TreeButtons", "TreeButtonsSel", "TreeCode").
const char *entryTreeName(EntryTree tree);
EntryTree allEntriesTree(MemoryKind kind);
EntryTree selectionTree(MemoryKind kind);

// Shape tests on a SIM name; they look only at the tag letter and the marker characters, so an ordinary
// phone-book name such as Main-2 passes as a keypad memory.
// Tag, then the first "-" as next-to-last character (M12-1, M-1; not M12, M12-, M12-10).
bool isMemoryName(MemoryKind kind, const QByteArray &name);
// "C", and the first "C" after it is the last character (C246C, CC; not C246).
bool isCodeName(const QByteArray &name);
// Exactly DETECT with the number exactly 1.
bool isDetectEntry(const QByteArray &name, const QByteArray &number);

// The detect entry remembered from a read: index + ":DETECT[1]".
QByteArray detectEntryText(const QByteArray &index);

// Whether a name read from the SIM belongs to the memory chosen for the selection tree
// (empty prefix: no memory chosen yet, nothing belongs).
bool belongsToSelection(const QByteArray &name, const QByteArray &selectedPrefix);

// Where one entry read from the SIM goes.
struct EntryPlacement {
    QByteArray nodeText;    // index + ":" + name + "[" + number + "]"
    QList<EntryTree> trees; // trees to add nodeText to, each sorted on addition (see nodeorder.h)
    QByteArray detectEntry; // not empty: remember it, log it on the monitor, show the detect box on
};

EntryPlacement placeReadEntry(const QByteArray &index, const QByteArray &number, const QByteArray &name,
                              const QByteArray &selectedMemoPrefix, const QByteArray &selectedButtonPrefix);

// Click on an all-entries tree: the prefix to remember (M12- for 4:M12-1[555]) and the node texts of
// the whole tree, first to last, that the selection tree is then filled with. The rule is the one the
// read applies, so a refresh rebuilds the same selection.
QByteArray selectionPrefixOfNode(const QByteArray &text);
QList<QByteArray> selectionNodeTexts(const QList<QByteArray> &allTexts, const QByteArray &prefix);

} // namespace oxa
