#pragma once

#include "codepagecodec.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace oxa {

// A decimal integer read from text: leading blanks, an optional sign, at least one digit, nothing after.
std::optional<int> integerFromText(const QByteArray &text);

// The message shown when such a text is not a number: "'12a' is not a valid integer value".
QString notAnIntegerMessage(const QByteArray &text, const CodePageCodec &codec);

} // namespace oxa
