#include "fault.h"

#include "atcommand.h"

#include <QList>

namespace oxa::sim {

namespace {

std::optional<int> optionalCount(const QList<QByteArray> &words, qsizetype at, int fallback) {
    if (words.size() <= at)
        return fallback;
    return parseNumber(words[at]);
}

} // namespace

QString faultUsage() {
    return QStringLiteral(
        "error [N] | cme CODE [N] | silent [N] | garbage [N] | endless [N] | hangup | clear");
}

std::optional<Fault> parseFault(const QByteArray &text, QString *error) {
    const QList<QByteArray> words = text.simplified().toLower().split(' ');
    const QByteArray word = words.value(0);
    Fault fault;
    std::optional<int> count;
    qsizetype maxWords = 2;
    if (word == "error") {
        fault.kind = Fault::Kind::Error;
        count = optionalCount(words, 1, 1);
    } else if (word == "cme") {
        fault.kind = Fault::Kind::CmeError;
        const std::optional<int> code = words.size() > 1 ? parseNumber(words[1]) : std::nullopt;
        count = code ? optionalCount(words, 2, 1) : std::nullopt;
        fault.code = code.value_or(0);
        maxWords = 3;
    } else if (word == "silent") {
        fault.kind = Fault::Kind::Silent;
        count = optionalCount(words, 1, 1);
    } else if (word == "garbage") {
        fault.kind = Fault::Kind::Garbage;
        count = optionalCount(words, 1, 64);
    } else if (word == "endless") {
        fault.kind = Fault::Kind::Endless;
        count = optionalCount(words, 1, 0);
    } else if (word == "hangup") {
        fault.kind = Fault::Kind::HangUp;
        count = 1;
        maxWords = 1;
    } else if (word == "clear") {
        fault.kind = Fault::Kind::Clear;
        count = 1;
        maxWords = 1;
    }
    if (!count || words.size() > maxWords) {
        if (error)
            *error =
                QStringLiteral("unknown fault \"%1\"; use %2").arg(QString::fromLatin1(text), faultUsage());
        return std::nullopt;
    }
    fault.count = *count;
    return fault;
}

} // namespace oxa::sim
