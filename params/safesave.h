#pragma once

#include <QByteArray>
#include <QString>

namespace oxa {

// Writes `bytes` as the file `path` so that a failure never costs the file that was there: the bytes go
// to a new temporary file beside the target, every write, the flush and the sync to the disk are
// checked, and only when all of them succeeded does the temporary file replace the target. Otherwise
// the target stays as it was, the temporary file is removed and the reason is returned.
// Returns an empty string on success.
QString saveFileSafely(const QString &path, const QByteArray &bytes);

} // namespace oxa
