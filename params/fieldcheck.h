#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace oxa {

// A SIM entry's name and number go into the phone-book write command unquoted, so some bytes would
// change the command itself: "," starts another parameter, '"' opens a quoted one, ";" starts another
// command, and control bytes (CR, LF, TAB ...) end the line or are dropped by the module. Such bytes
// are refused wherever a field is typed, loaded or pasted; nothing else about a field's bytes changes.
constexpr bool isCommandBreakingByte(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return value < 32 || byte == ',' || byte == '"' || byte == ';';
}
constexpr bool isCommandBreakingCharacter(char16_t character) {
    return character < 128 && isCommandBreakingByte(char(character));
}

// The first byte of `field` that would break the command, if any.
std::optional<char> firstCommandBreakingByte(QByteArrayView field);
std::optional<QChar> firstCommandBreakingCharacter(const QString &field);

// How a message names such a byte: "a comma", "a double quote", "a semicolon", "a tab",
// "a line break", "a control character (0x07)".
QString describeBreakingByte(char byte);

} // namespace oxa
