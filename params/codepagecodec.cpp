#include "codepagecodec.h"

#include <QHash>
#include <QStringDecoder>

#include <array>

namespace oxa {

namespace {

constexpr char16_t UnassignedBase = 0xF700;

} // namespace

struct CodePageCodec::Tables {
    QByteArray name;
    std::array<QChar, 256> characters;
    QHash<char16_t, char> bytes;

    void add(int byte, QChar character) {
        characters[std::size_t(byte)] = character;
        bytes.insert(character.unicode(), char(byte));
    }
};

CodePageCodec::CodePageCodec() {
    static const std::shared_ptr<const Tables> latin1 = [] {
        auto tables = std::make_shared<Tables>();
        tables->name = "ISO-8859-1";
        for (int byte = 0; byte < 256; ++byte)
            tables->add(byte, QChar(char16_t(byte)));
        return tables;
    }();
    m_tables = latin1;
}

CodePageCodec::CodePageCodec(std::shared_ptr<const Tables> tables) : m_tables(std::move(tables)) {}

std::optional<CodePageCodec> CodePageCodec::forName(const QByteArray &name) {
    if (!QStringDecoder(name.constData()).isValid())
        return std::nullopt;
    auto tables = std::make_shared<Tables>();
    tables->name = name;
    for (int byte = 0; byte < 256; ++byte) {
        // One byte at a time: a single-byte code page gives exactly one character for each byte it
        // assigns, and an error or the replacement character for one it does not.
        QStringDecoder decoder(name.constData(), QStringConverter::Flag::Stateless);
        const char raw = char(byte);
        const QString decoded = decoder.decode(QByteArrayView(&raw, 1));
        const bool assigned =
            !decoder.hasError() && decoded.size() == 1 && decoded.front() != QChar::ReplacementCharacter &&
            !decoded.front().isSurrogate() && !tables->bytes.contains(decoded.front().unicode()) &&
            (decoded.front().unicode() & 0xFF00) != UnassignedBase;
        tables->add(byte, assigned ? decoded.front() : QChar(char16_t(UnassignedBase + byte)));
    }
    return CodePageCodec(std::move(tables));
}

QByteArray CodePageCodec::windowsCodePageName(int number) {
    return "windows-" + QByteArray::number(number);
}

const QByteArray &CodePageCodec::name() const {
    return m_tables->name;
}

QChar CodePageCodec::decode(char byte) const {
    return m_tables->characters[static_cast<unsigned char>(byte)];
}

QString CodePageCodec::decode(QByteArrayView bytes) const {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char byte : bytes)
        *out++ = decode(byte);
    return text;
}

bool CodePageCodec::canEncode(QChar character) const {
    return m_tables->bytes.contains(character.unicode());
}

std::optional<QByteArray> CodePageCodec::encode(QStringView text) const {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (const QChar character : text) {
        const auto found = m_tables->bytes.constFind(character.unicode());
        if (found == m_tables->bytes.cend())
            return std::nullopt;
        *out++ = *found;
    }
    return bytes;
}

std::optional<char32_t> CodePageCodec::firstUnencodable(QStringView text) const {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (canEncode(text[i]))
            continue;
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            return QChar::surrogateToUcs4(text[i], text[i + 1]);
        return text[i].unicode();
    }
    return std::nullopt;
}

QString CodePageCodec::encodableOnly(QStringView text) const {
    QString kept;
    kept.reserve(text.size());
    for (const QChar character : text)
        if (canEncode(character))
            kept.append(character);
    return kept;
}

QString describeCharacter(char32_t character) {
    const QString hex = QStringLiteral("%1").arg(uint(character), 4, 16, QLatin1Char('0')).toUpper();
    // A control or private-use character shows nothing readable: its number alone names it.
    const bool printable = QChar::isPrint(character) && QChar::category(character) != QChar::Other_PrivateUse;
    return printable ? QStringLiteral("\"%1\" (U+%2)").arg(QString::fromUcs4(&character, 1), hex)
                     : QStringLiteral("U+%1").arg(hex);
}

} // namespace oxa
