#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <utility>

namespace oxa {

// What the unit listed in its last read, entry by entry, as (name, number) bytes.
using UnitEntries = QList<std::pair<QByteArray, QByteArray>>;

// The unit's configuration as a configuration file: key boxes, parameter strings and the other rows.
QByteArray configurationFileOf(const UnitEntries &entries);

// Keeps `entries` as a dated *.oxa file in `folder` (created when missing) and removes all but the
// newest `keep` backups there. Returns the file's path, or an empty string with `error` set.
QString writeBackup(const QString &folder, const UnitEntries &entries, const QDateTime &when, int keep,
                    QString *error);

} // namespace oxa
