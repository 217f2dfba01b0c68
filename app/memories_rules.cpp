#include "memories_rules.h"

#include <QCoreApplication>

namespace oxa {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

QString tr(const char *text) {
    return QCoreApplication::translate("MemoryEditors", text);
}

} // namespace

bool isWritablePosition(const QByteArray &position) {
    return position.size() == 1 && position.at(0) >= '1' && position.at(0) <= '7';
}

QString positionRefusal(const QString &position) {
    return tr("'%1' is not a position from 1 to 7; nothing was written.").arg(position);
}

bool isAccessListValue(const QByteArray &value) {
    return value == "**" || (value.size() == 2 && isDigit(value.at(0)) && isDigit(value.at(1)));
}

QString accessListRefusal(const QString &value) {
    return tr("'%1' is not a two-digit value or **; nothing was written.").arg(value);
}

} // namespace oxa
