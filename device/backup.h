#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QList>
#include <QString>
#include <utility>

namespace oxa {

// What the unit listed in its last read, entry by entry, as (name, number) bytes.
using UnitEntries = QList<std::pair<QByteArray, QByteArray>>;

// The unit's configuration as a configuration file: key boxes, parameter strings and the other rows.
QByteArray configurationFileOf(const UnitEntries &entries);

// Keeps `entries` as a dated *.oxa file in `folder` (created when missing), reads it back, and removes
// all but the newest `keep` backups there. Returns the file's path, or an empty string with `error` set
// (then no backup was kept).
QString writeBackup(const QString &folder, const UnitEntries &entries, const QDateTime &when, int keep,
                    QString *error);
// Removes backups in `dir` beyond the newest `keep`, by the time the files were made; never `keptPath`.
void removeOldBackups(const QDir &dir, const QString &keptPath, int keep);

} // namespace oxa
