#pragma once

#include <QByteArray>

namespace oxa {

// The window's own state beside the configuration and the session: the memories last clicked in the
// all-entries trees, whose entries the selection trees list (also after every read).
struct DialogueState {
    QByteArray SelectedMemoPrefix;
    QByteArray SelectedButtonPrefix;
};

} // namespace oxa
