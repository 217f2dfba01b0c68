#include "fieldcheck.h"

#include <QObject>

namespace oxa {

std::optional<char> firstCommandBreakingByte(QByteArrayView field) {
    for (const char byte : field)
        if (isCommandBreakingByte(byte))
            return byte;
    return std::nullopt;
}

std::optional<QChar> firstCommandBreakingCharacter(const QString &field) {
    for (const QChar character : field)
        if (isCommandBreakingCharacter(character.unicode()))
            return character;
    return std::nullopt;
}

QString describeBreakingByte(char byte) {
    switch (byte) {
    case ',':
        return QObject::tr("a comma");
    case '"':
        return QObject::tr("a double quote");
    case ';':
        return QObject::tr("a semicolon");
    case '\t':
        return QObject::tr("a tab");
    case '\r':
    case '\n':
        return QObject::tr("a line break");
    default:
        return QObject::tr("a control character (0x%1)")
            .arg(static_cast<unsigned char>(byte), 2, 16, QLatin1Char('0'));
    }
}

} // namespace oxa
