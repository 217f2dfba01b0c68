#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>

namespace oxa {

// Writes `bytes` as the file `path` so that a failure never costs the file that was there: the bytes go
// to a new temporary file beside the target, every write, the flush and the sync to the disk are
// checked, and only when all of them succeeded does the temporary file replace the target. Otherwise
// the target stays as it was, the temporary file is removed and the reason is returned.
// Returns an empty string on success.
QString saveFileSafely(const QString &path, const QByteArray &bytes);

// Takes the next piece of the file's bytes; false once a write has failed (the producer then stops).
using ByteSink = std::function<bool(QByteArrayView piece)>;

// The same for a file too large to hold in memory whole (a long traffic log): `produce` hands the
// bytes to the sink piece by piece and returns an empty string, or why it could not produce them all
// (the save then fails with that reason).
QString saveFileSafely(const QString &path, const std::function<QString(const ByteSink &sink)> &produce);

} // namespace oxa
