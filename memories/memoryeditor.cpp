#include "memoryeditor.h"

#include "integertext.h"
#include "nodetext.h"

namespace oxa {

namespace {
constexpr int positionCount = 7;
}

QList<QByteArray> positionItems() {
    QList<QByteArray> items;
    for (int position = 1; position <= positionCount; ++position)
        items.append(QByteArray::number(position));
    return items;
}

ListChoice positionItem(int index) {
    ListChoice choice;
    if (index >= 0 && index < positionCount) {
        choice.index = index;
        choice.text = QByteArray::number(index + 1);
    }
    return choice;
}

QByteArray memoryPreviewLabel(MemoryKind kind, const QByteArray &memory, const QByteArray &position) {
    return '(' + (memoryTag(kind) + memory) + '-' + position + ')';
}

QByteArray initialMemoryLabel(MemoryKind kind) {
    return QByteArray(1, memoryTag(kind));
}

std::optional<QByteArray> labelAfterPositionChange(MemoryKind kind, const QByteArray &memory,
                                                   const QByteArray &position) {
    if (memory.isEmpty())
        return std::nullopt;
    return memoryPreviewLabel(kind, memory, position);
}

ListChoice addPosition(int selectionNodeCount) {
    return positionItem(selectionNodeCount);
}

SelectionNodeFields readSelectionNode(MemoryKind kind, const QByteArray &text, const CodePageCodec &codec) {
    SelectionNodeFields fields;
    fields.memory = nodeMemory(text, memoryTag(kind));
    const QByteArray position = nodePosition(text);
    if (const std::optional<int> number = integerFromText(position))
        fields.position = positionItem(*number - 1);
    else
        fields.position.error = notAnIntegerMessage(position, codec);
    fields.number = nodeNumber(text);
    return fields;
}

} // namespace oxa
