#include "nodetext.h"

namespace oxa {

namespace {

constexpr qsizetype maxDigits = 15;

// The characters from `from` up to, not including, `to`; empty when either marker is missing or the
// end lies before the start.
QByteArray span(const QByteArray &text, qsizetype from, qsizetype to) {
    if (from < 0 || to < 0 || to < from)
        return {};
    return text.mid(from, to - from);
}

bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

} // namespace

QByteArray nodeText(const QByteArray &index, const QByteArray &name, const QByteArray &number) {
    return trimBlanks(index) + ':' + name + '[' + number + ']';
}

QByteArray nodeIndex(const QByteArray &text) {
    const qsizetype colon = text.indexOf(':');
    return colon < 0 ? QByteArray() : trimBlanks(text.left(colon));
}

QByteArray nodeName(const QByteArray &text) {
    const qsizetype colon = text.indexOf(':');
    return colon < 0 ? QByteArray() : span(text, colon + 1, text.indexOf('['));
}

QByteArray nodeNumber(const QByteArray &text) {
    const qsizetype open = text.indexOf('[');
    return open < 0 ? QByteArray() : span(text, open + 1, text.indexOf(']'));
}

QByteArray nodeMemory(const QByteArray &text, char tag) {
    const char marker[] = {':', tag, '\0'};
    const qsizetype start = text.indexOf(marker);
    return start < 0 ? QByteArray() : span(text, start + 2, text.indexOf('-'));
}

QByteArray nodePosition(const QByteArray &text) {
    const qsizetype dash = text.indexOf('-');
    return dash < 0 ? QByteArray() : text.mid(dash + 1, 1);
}

QByteArray nodeMemoryPrefix(const QByteArray &text) {
    const QByteArray tail = text.mid(text.indexOf(':') + 1);
    const qsizetype dash = tail.indexOf('-');
    return dash < 0 ? QByteArray() : tail.left(dash + 1);
}

QByteArray nodeCode(const QByteArray &text) {
    const qsizetype start = text.indexOf(":C");
    return start < 0 ? QByteArray() : span(text, start + 2, text.indexOf("C["));
}

QByteArray nodeAccessField(const QByteArray &text) {
    const qsizetype open = text.indexOf("C[");
    if (open < 0)
        return {};
    const qsizetype close = text.indexOf(']', open + 2);
    return close < 0 ? text.mid(open + 2) : text.mid(open + 2, close - open - 2);
}

QByteArray trimBlanks(const QByteArray &text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

QByteArray digitFilter(const QByteArray &text) {
    const QByteArray trimmed = trimBlanks(text);
    qsizetype digits = 0;
    while (digits < trimmed.size() && digits < maxDigits && trimmed.at(digits) >= '0' &&
           trimmed.at(digits) <= '9')
        ++digits;
    return trimmed.left(digits);
}

QString digitFilter(const QString &text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 0x20)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 0x20)
        --end;
    qsizetype digits = 0;
    while (begin + digits < end && digits < maxDigits && text.at(begin + digits) >= u'0' &&
           text.at(begin + digits) <= u'9')
        ++digits;
    return text.mid(begin, digits);
}

} // namespace oxa
