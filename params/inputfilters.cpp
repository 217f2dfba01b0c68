#include "inputfilters.h"

#include <QStringList>

namespace oxa {

namespace {

bool isBlankOrControl(QChar c) {
    return c.unicode() <= 0x20;
}
bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}
bool isPhoneChar(QChar c) {
    return isAsciiDigit(c) || c == u'+' || c == u'*' || c == u'#';
}

template <typename Allowed> QString acceptedPrefix(const QString &text, Allowed allowed) {
    qsizetype n = 0;
    while (n < text.size() && allowed(text[n]))
        ++n;
    return text.left(n);
}

// Digits only, so the value is 0 exactly when every digit is '0'.
bool allZero(const QString &digits) {
    for (QChar c : digits) {
        if (c != u'0')
            return false;
    }
    return true;
}

} // namespace

QString trimBlanksAndControls(const QString &text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlankOrControl(text[begin]))
        ++begin;
    while (end > begin && isBlankOrControl(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

QString phoneNumberFilter(const QString &text) {
    QString s = trimBlanksAndControls(text);
    if (s.size() < 2)
        return s;
    s = acceptedPrefix(s, isPhoneChar);
    s.truncate(20);
    return s;
}

QString relayCodeFilter(const QString &text) {
    const QString s = trimBlanksAndControls(text);
    if (s.isEmpty())
        return s;
    return (u'0' + acceptedPrefix(s, isAsciiDigit)).right(1);
}

QString relayTimeFilter(const QString &text) {
    const QString s = trimBlanksAndControls(text);
    if (s.isEmpty())
        return s;
    const QString digits = (QStringLiteral("00") + acceptedPrefix(s, isAsciiDigit)).right(2);
    return allZero(digits) ? QStringLiteral("01") : digits;
}

BoxFilter boxFilter(const QString &name) {
    static const QStringList phonePrefixes = {QStringLiteral("ADMIN"), QStringLiteral("ABUTTON"),
                                              QStringLiteral("AABUTTON"), QStringLiteral("BBUTTON")};
    for (const QString &prefix : phonePrefixes) {
        if (name.size() == prefix.size() + 1 && name.startsWith(prefix) && name.back() >= u'1' &&
            name.back() <= u'7')
            return BoxFilter::PhoneNumber;
    }
    if (name == u"MemoPNumber" || name == u"ButtonPNumber")
        return BoxFilter::PhoneNumber;
    if (name == u"RelCode1" || name == u"RelCode2")
        return BoxFilter::RelayCode;
    if (name == u"RelTime1" || name == u"RelTime2")
        return BoxFilter::RelayTime;
    return BoxFilter::None;
}

QString applyBoxFilter(BoxFilter filter, const QString &text) {
    switch (filter) {
    case BoxFilter::PhoneNumber:
        return phoneNumberFilter(text);
    case BoxFilter::RelayCode:
        return relayCodeFilter(text);
    case BoxFilter::RelayTime:
        return relayTimeFilter(text);
    case BoxFilter::None:
        break;
    }
    return text;
}

QString mirroredBox(const QString &name) {
    if (boxFilter(name) != BoxFilter::PhoneNumber)
        return {};
    if (name.startsWith(u"AABUTTON"))
        return name.mid(1);
    if (name.startsWith(u"ABUTTON"))
        return u'A' + name;
    return {};
}

} // namespace oxa
