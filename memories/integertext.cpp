#include "integertext.h"

#include <limits>

namespace oxa {

std::optional<int> integerFromText(const QByteArray &text) {
    qsizetype at = 0;
    while (at < text.size() && text.at(at) == ' ')
        ++at;
    bool negative = false;
    if (at < text.size() && (text.at(at) == '+' || text.at(at) == '-')) {
        negative = text.at(at) == '-';
        ++at;
    }
    if (at == text.size())
        return std::nullopt;
    long long value = 0;
    for (; at < text.size(); ++at) {
        const char c = text.at(at);
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<int>::max() + (negative ? 1LL : 0LL))
            return std::nullopt;
    }
    return int(negative ? -value : value);
}

QString notAnIntegerMessage(const QByteArray &text, const CodePageCodec &codec) {
    return QStringLiteral("'%1' is not a valid integer value").arg(codec.decode(text));
}

} // namespace oxa
