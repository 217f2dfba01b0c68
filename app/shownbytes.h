#pragma once

#include "codepagecodec.h"

#include <QByteArray>
#include <QString>

#include <stdexcept>

namespace oxa {

// A text shown in the window had to become the unit's bytes but holds a character the code page cannot
// hold. The controls refuse such characters as they are typed or pasted, so this ends a handler only if
// one got in some other way: the handler stops with the message instead of writing something else.
class UnencodableText : public std::runtime_error {
public:
    explicit UnencodableText(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString text() const { return QString::fromStdString(what()); }
};

// The bytes of a text shown in the window; throws UnencodableText naming the text and the character.
QByteArray shownTextBytes(const CodePageCodec &codec, const QString &text);

// "\"Ω\" (U+03A9), which is not in code page windows-1250, so the unit cannot store it"
QString notInCodePage(const CodePageCodec &codec, char32_t character);

} // namespace oxa
