#pragma once

#include "codepagecodec.h"

#include <QLocale>
#include <QString>

#include <optional>

namespace oxa {

// The Windows code page of the user's language, as Windows itself would choose it for 8-bit text:
// 1250 for the Central European languages, 1251 for those written in Cyrillic, 1253 Greek, 1254
// Turkish, 1257 Baltic, 1252 for every other one.
int windowsCodePageFor(const QLocale &locale);

// A code page as the settings file names it: "1250", "windows-1250" or "cp1250", in any letter case and
// with blanks around it; nullopt for anything else and for code pages not offered.
std::optional<int> windowsCodePageFromSetting(const QString &value);

struct CodePageChoice {
    CodePageCodec codec;
    // Not empty when the setting could not be followed: what was used instead, and why.
    QString problem;
};

// The code page named by the setting (empty: none), else the one of the language of `locale`. Without a
// converter for it the bytes are shown one to one as ISO-8859-1, which still keeps them unchanged.
CodePageChoice chooseCodePage(const QString &setting, const QLocale &locale);

} // namespace oxa
