#include "commands.h"

#include "nodetext.h"

namespace oxa {

namespace {

QByteArray memoryName(MemoryKind kind, const QByteArray &memory, const QByteArray &position) {
    return memoryTag(kind) + memory + '-' + position;
}

QByteArray codeName(const QByteArray &code) {
    return 'C' + code + 'C';
}

} // namespace

QByteArray rewriteMemoryCommand(MemoryKind kind, const QByteArray &index, const QByteArray &number,
                                const QByteArray &memory, const QByteArray &position) {
    return "AT+CPBW=" + index + ',' + number + ",," + memoryName(kind, memory, position) + "\r\n";
}

QByteArray createMemoryCommand(MemoryKind kind, const QByteArray &number, const QByteArray &memory,
                               const QByteArray &position) {
    return "AT+CPBW=," + number + ",," + memoryName(kind, memory, position) + "\r\n";
}

QByteArray rewriteCodeCommand(const QByteArray &index, const QByteArray &accessField,
                              const QByteArray &code) {
    return "AT+CPBW=" + index + ',' + accessField + ",," + codeName(code) + "\r\n";
}

QByteArray createCodeCommand(const QByteArray &accessField, const QByteArray &code) {
    return "AT+CPBW=," + accessField + ",," + codeName(code) + "\r\n";
}

QByteArray deleteEntryCommand(const QByteArray &index) {
    return "AT+CPBW=" + index + "\r\n";
}

QByteArray writeDetectCommand(const QByteArray &index) {
    return "AT+CPBW=" + index + ",1,,DETECT\r\n";
}

QByteArray createDetectCommand() {
    return "AT+CPBW=,1,,DETECT\r\n";
}

QByteArray memoryWriteCommand(MemoryKind kind, const std::optional<QByteArray> &selectedNode,
                              const QByteArray &number, const QByteArray &memory,
                              const QByteArray &position) {
    if (selectedNode)
        return rewriteMemoryCommand(kind, nodeIndex(*selectedNode), number, memory, position);
    return createMemoryCommand(kind, number, memory, position);
}

QByteArray codeWriteCommand(const std::optional<QByteArray> &selectedNode, const QByteArray &accessField,
                            const QByteArray &code) {
    if (selectedNode)
        return rewriteCodeCommand(nodeIndex(*selectedNode), accessField, code);
    return createCodeCommand(accessField, code);
}

std::optional<QByteArray> deleteCommandFor(const std::optional<QByteArray> &selectedNode, int portNumber) {
    if (!selectedNode || portNumber == 0)
        return std::nullopt;
    return deleteEntryCommand(nodeIndex(*selectedNode));
}

QByteArray detectBoxCommand(bool on, const QByteArray &detectEntry) {
    if (!on)
        return deleteEntryCommand(nodeIndex(detectEntry));
    return detectEntry.isEmpty() ? createDetectCommand() : writeDetectCommand(nodeIndex(detectEntry));
}

} // namespace oxa
