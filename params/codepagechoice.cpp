#include "codepagechoice.h"

#include <QObject>
#include <QRegularExpression>

namespace oxa {

int windowsCodePageFor(const QLocale &locale) {
    switch (locale.script()) {
    case QLocale::CyrillicScript:
        return 1251;
    case QLocale::GreekScript:
        return 1253;
    default:
        break;
    }
    switch (locale.language()) {
    case QLocale::Czech:
    case QLocale::Slovak:
    case QLocale::Polish:
    case QLocale::Hungarian:
    case QLocale::Slovenian:
    case QLocale::Croatian:
    case QLocale::Romanian:
    case QLocale::Albanian:
    case QLocale::Bosnian:
    case QLocale::Serbian: // written in Latin here: Cyrillic is taken above
        return 1250;
    case QLocale::Turkish:
    case QLocale::Azerbaijani:
        return 1254;
    case QLocale::Estonian:
    case QLocale::Latvian:
    case QLocale::Lithuanian:
        return 1257;
    default:
        return 1252;
    }
}

std::optional<int> windowsCodePageFromSetting(const QString &value) {
    static const QRegularExpression form(QStringLiteral("^(?:windows-?|cp)?(\\d{3,5})$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = form.match(value.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const int number = match.captured(1).toInt();
    if (!CodePageCodec::isOfferedWindowsCodePage(number))
        return std::nullopt;
    return number;
}

CodePageChoice chooseCodePage(const QString &setting, const QLocale &locale) {
    const int fromLanguage = windowsCodePageFor(locale);
    int number = fromLanguage;
    QString problem;
    if (!setting.trimmed().isEmpty()) {
        if (const std::optional<int> chosen = windowsCodePageFromSetting(setting))
            number = *chosen;
        else
            problem = QObject::tr("The code page \"%1\" of the settings file is not one of 1250 to 1258; "
                                  "code page %2 of the language is used.")
                          .arg(setting.trimmed())
                          .arg(fromLanguage);
    }
    const QByteArray name = CodePageCodec::windowsCodePageName(number);
    if (std::optional<CodePageCodec> codec = CodePageCodec::forName(name))
        return {*codec, problem};
    CodePageChoice fallback;
    fallback.problem = QObject::tr("No converter for code page %1 is available; texts are shown as "
                                   "ISO-8859-1, and their bytes are kept as they are.")
                           .arg(QString::fromLatin1(name));
    if (!problem.isEmpty())
        fallback.problem = problem + QLatin1Char(' ') + fallback.problem;
    return fallback;
}

} // namespace oxa
