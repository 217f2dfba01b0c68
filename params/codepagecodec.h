#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <memory>
#include <optional>

namespace oxa {

// Text of the unit's entries, of the configuration files and of the monitor: 8-bit bytes in the code
// page of the PC that wrote them, one character per byte. Bytes and characters convert both ways
// without loss: every byte decodes, and every decoded character encodes to the byte it came from. A
// byte the code page leaves unassigned decodes to the private-use character U+F700 + byte, so that it,
// too, goes back unchanged. The mapping is taken from the platform's converter (ICU), byte by byte.
class CodePageCodec {
public:
    // ISO-8859-1, which needs no converter: each byte is the character of the same number.
    CodePageCodec();

    // The converter's name of a Windows code page ("windows-1250"); nullopt when no converter for it is
    // available. Only single-byte code pages make sense here: the names of windowsCodePageName().
    static std::optional<CodePageCodec> forName(const QByteArray &name);

    // "windows-1250" for 1250; the code pages offered are 1250 to 1258.
    static QByteArray windowsCodePageName(int number);
    static bool isOfferedWindowsCodePage(int number) { return number >= 1250 && number <= 1258; }

    const QByteArray &name() const;

    QChar decode(char byte) const;
    QString decode(QByteArrayView bytes) const;

    // The bytes of `text`; nullopt when it holds a character this code page cannot hold.
    std::optional<QByteArray> encode(QStringView text) const;
    bool canEncode(QChar character) const;
    // The first character of `text` the code page cannot hold (a character beyond U+FFFF is whole).
    std::optional<char32_t> firstUnencodable(QStringView text) const;
    // `text` without the characters the code page cannot hold.
    QString encodableOnly(QStringView text) const;

private:
    struct Tables;
    explicit CodePageCodec(std::shared_ptr<const Tables> tables);
    std::shared_ptr<const Tables> m_tables;
};

// How a message shows a character: "\"Ω\" (U+03A9)".
QString describeCharacter(char32_t character);

} // namespace oxa
