#include "keyentries.h"

#include <cstring>

namespace oxa {

const char *simKeyName(ParameterString which) {
    switch (which) {
    case ParameterString::Oxa:
        return "PAROXA";
    case ParameterString::Relay1:
        return "PARRL1";
    case ParameterString::Relay2:
        return "PARRL2";
    case ParameterString::Key:
        return "PARKEY";
    }
    return "";
}

const char *savedFileName(ParameterString which) {
    switch (which) {
    case ParameterString::Oxa:
        return "PARAMOXA";
    case ParameterString::Relay1:
        return "PARAMRL1";
    case ParameterString::Relay2:
        return "PARAMRL2";
    case ParameterString::Key:
        return nullptr;
    }
    return nullptr;
}

int editBoxKeyIndex(const QByteArray &name) {
    for (std::size_t i = 0; i < kEditBoxKeys.size(); ++i) {
        if (name == kEditBoxKeys[i])
            return int(i);
    }
    return -1;
}

std::optional<ParameterString> parameterStringForKey(const QByteArray &name) {
    for (ParameterString which : kParameterStrings) {
        if (name == simKeyName(which))
            return which;
    }
    return std::nullopt;
}

KeyKind keyKind(const QByteArray &name) {
    if (editBoxKeyIndex(name) >= 0)
        return KeyKind::EditBox;
    if (parameterStringForKey(name))
        return KeyKind::Parameter;
    if (name == kVersionKey)
        return KeyKind::Version;
    return KeyKind::None;
}

static char asciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

bool sameNameIgnoringCase(const QByteArray &a, const char *key) {
    const std::size_t n = std::strlen(key);
    if (std::size_t(a.size()) != n)
        return false;
    for (std::size_t i = 0; i < n; ++i) {
        if (asciiUpper(a[qsizetype(i)]) != asciiUpper(key[i]))
            return false;
    }
    return true;
}

} // namespace oxa
