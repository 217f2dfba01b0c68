#pragma once

#include "entries.h"

#include <QByteArray>
#include <optional>

namespace oxa {

// Phone-book write lines for tagged entries. A new entry goes out with an empty index, so the module
// stores it in its first free location; the program learns that index only from the re-read.
// Numbers go without quotes and with an empty type field; names are sent exactly as built.

// "AT+CPBW=" + index + "," + number + ",,M" + memory + "-" + position + "\r\n" (B for buttons)
QByteArray rewriteMemoryCommand(MemoryKind kind, const QByteArray &index, const QByteArray &number,
                                const QByteArray &memory, const QByteArray &position);
// "AT+CPBW=," + number + ",,M" + memory + "-" + position + "\r\n"
QByteArray createMemoryCommand(MemoryKind kind, const QByteArray &number, const QByteArray &memory,
                               const QByteArray &position);
// "AT+CPBW=" + index + "," + access field + ",,C" + code + "C\r\n"
QByteArray rewriteCodeCommand(const QByteArray &index, const QByteArray &accessField, const QByteArray &code);
// "AT+CPBW=," + access field + ",,C" + code + "C\r\n"
QByteArray createCodeCommand(const QByteArray &accessField, const QByteArray &code);
// "AT+CPBW=" + index + "\r\n"
QByteArray deleteEntryCommand(const QByteArray &index);
// "AT+CPBW=" + index + ",1,,DETECT\r\n"
QByteArray writeDetectCommand(const QByteArray &index);
// "AT+CPBW=,1,,DETECT\r\n"
QByteArray createDetectCommand();

// What the write buttons send: a rewrite of the node selected in the handler's tree (its index taken
// from the node text), or a create when no node is selected. Written whatever the fields hold.
QByteArray memoryWriteCommand(MemoryKind kind, const std::optional<QByteArray> &selectedNode,
                              const QByteArray &number, const QByteArray &memory, const QByteArray &position);
QByteArray codeWriteCommand(const std::optional<QByteArray> &selectedNode, const QByteArray &accessField,
                            const QByteArray &code);

// What a delete button sends: nothing without a selected node or without a chosen port (number 0).
// The caller raises RefreshAfterOk in every case.
std::optional<QByteArray> deleteCommandFor(const std::optional<QByteArray> &selectedNode, int portNumber);

// What the detect box sends on a change of state, given the remembered detect entry (empty: none).
// On: rewrite at the entry's index, or create when none is known. Off: delete at the entry's index
// (an empty index when none is known); the caller then empties the remembered entry.
QByteArray detectBoxCommand(bool on, const QByteArray &detectEntry);

} // namespace oxa
