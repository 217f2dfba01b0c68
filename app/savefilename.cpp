#include "savefilename.h"

#include <QRegularExpression>

#include <algorithm>

namespace oxa {

QString withFilterExtension(const QString &chosen, const QString &filter) {
    static const QRegularExpression pattern(QStringLiteral("\\*\\.([^\\s;)*]+)"));
    const QRegularExpressionMatch match = pattern.match(filter);
    if (chosen.isEmpty() || !match.hasMatch())
        return chosen;
    const qsizetype nameStart =
        std::max(chosen.lastIndexOf(QLatin1Char('/')), chosen.lastIndexOf(QLatin1Char('\\'))) + 1;
    const qsizetype dot = chosen.lastIndexOf(QLatin1Char('.'));
    if (dot > nameStart && dot < chosen.size() - 1)
        return chosen;
    return chosen + (dot == chosen.size() - 1 && dot > nameStart ? QString() : QStringLiteral(".")) +
           match.captured(1);
}

} // namespace oxa
