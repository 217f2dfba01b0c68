#pragma once

#include <QByteArray>
#include <QString>

namespace oxa {

// Checks the editors make before they write an entry the trees could not show again.

// A memory entry's position is one of "1" to "7": with anything else (the empty text Add leaves after
// seven numbers, or a typed "8") the name fails the shape of a memory and the entry would reach the SIM
// where no tree lists it.
bool isWritablePosition(const QByteArray &position);
QString positionRefusal(const QString &position);

// A list value of an access field takes exactly two places: "**" or two decimal digits. Anything else
// would shift every later field of the entry.
bool isAccessListValue(const QByteArray &value);
QString accessListRefusal(const QString &value);

} // namespace oxa
