#include "charset.h"

#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace oxa::sim {

namespace {

// ICU's name of the GSM 7-bit default alphabet with its extension table, one septet a byte.
constexpr char GsmAlphabet[] = "gsm-03.38-2009";

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// The text in `set`, as a string; nullopt when it is not text of that set.
std::optional<QString> decodeFrom(const QByteArray &text, const QByteArray &set) {
    if (set == "UCS2") {
        if (text.size() % 4 != 0)
            return std::nullopt;
        QString decoded;
        decoded.reserve(text.size() / 4);
        for (qsizetype i = 0; i < text.size(); i += 4) {
            const QByteArray unit = text.mid(i, 4);
            if (!std::all_of(unit.begin(), unit.end(), isHexDigit))
                return std::nullopt;
            decoded.append(QChar(char16_t(unit.toUInt(nullptr, 16))));
        }
        return decoded;
    }
    if (set == "GSM") {
        // Septets only, and no escape left without the character it announces.
        qsizetype trailingEscapes = 0;
        while (trailingEscapes < text.size() && text[text.size() - 1 - trailingEscapes] == '\x1b')
            ++trailingEscapes;
        if (trailingEscapes % 2 != 0)
            return std::nullopt;
        QStringDecoder decoder(GsmAlphabet);
        const QString decoded = decoder.decode(text);
        if (decoder.hasError() || decoded.contains(QChar::ReplacementCharacter))
            return std::nullopt;
        return decoded;
    }
    if (set == "8859-1")
        return QString::fromLatin1(text);
    return std::nullopt;
}

QByteArray encodeTo(const QString &text, const QByteArray &set) {
    if (set == "UCS2") {
        QByteArray hex;
        hex.reserve(text.size() * 4);
        for (const QChar c : text)
            hex.append(QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper());
        return hex;
    }
    if (set == "GSM") {
        QStringEncoder encoder(GsmAlphabet);
        return encoder.encode(text);
    }
    // 8859-1: the encoder puts "?" for what Latin-1 cannot hold.
    QStringEncoder encoder(QStringEncoder::Latin1);
    return encoder.encode(text);
}

} // namespace

QByteArrayList ModuleCharset::names() {
    return {"GSM", "IRA", "8859-1", "UCS2"};
}

ModuleCharset::ModuleCharset(const QByteArray &codePage) : m_codePage(codePage) {
    m_valid = QStringDecoder(codePage.constData()).isValid() &&
              QStringEncoder(codePage.constData()).isValid() && QStringDecoder(GsmAlphabet).isValid();
}

bool ModuleCharset::accepts(const QByteArray &set) const {
    if (set == "IRA")
        return true;
    return m_valid && names().contains(set);
}

QByteArray ModuleCharset::present(const QByteArray &stored, const QByteArray &set) const {
    if (set == "IRA" || !m_valid)
        return stored;
    QStringDecoder decoder(m_codePage.constData());
    return encodeTo(decoder.decode(stored), set);
}

ModuleCharset::Stored ModuleCharset::store(const QByteArray &text, const QByteArray &set) const {
    if (set == "IRA" || !m_valid)
        return {text};
    const std::optional<QString> decoded = decodeFrom(text, set);
    if (!decoded)
        return {{}, Refusal::Malformed};
    QStringEncoder encoder(m_codePage.constData());
    QByteArray bytes = encoder.encode(*decoded);
    if (encoder.hasError())
        return {{}, Refusal::InvalidCharacters};
    return {bytes};
}

} // namespace oxa::sim
