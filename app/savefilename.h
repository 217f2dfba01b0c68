#pragma once

#include <QString>

namespace oxa {

// The file a save writes: the chosen name as typed when it has an extension, otherwise with the extension
// of the dialog's filter ("OXA files (*.oxa)" gives ".oxa"), so that the file shows in the matching load
// dialog. A name ending in "." takes the extension's letters only; a leading dot starts a name, not an
// extension.
QString withFilterExtension(const QString &chosen, const QString &filter);

} // namespace oxa
