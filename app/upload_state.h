#pragma once

#include <QString>

namespace oxa {

// The window's side of the upload: where the list came from.
struct UploadSession {
    // The folder of the list file last loaded: relative names in the list name files beside it (empty for
    // a list typed in: the current folder).
    QString listFolder;
};

} // namespace oxa
