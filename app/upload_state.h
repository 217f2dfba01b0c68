#pragma once

#include "uploadlist.h"

#include <QList>
#include <QStringList>

#include <utility>

class QTimer;

namespace oxa {

// The upload in progress, beside the dialogue's own flags (UploadWaiting, AsendPending, UploadIndex,
// UploadData).
struct UploadSession {
    // The list as it stood when Upgrade was pressed, so that editing the memo meanwhile changes nothing.
    QStringList lines;
    // The folder of the list file last loaded: relative names in the list name files beside it.
    QString listFolder;
    // The device buttons' enabled states before the upload locked them.
    QList<std::pair<QString, bool>> lockedButtons;
    // From Upgrade to the list's end or its stop, pauses between the steps included.
    bool running = false;
    // The current step's command went out: the module may have acted on it.
    bool stepSent = false;
    // Cancel was pressed: no step starts after the one in flight.
    bool cancelled = false;
    // A file step's command went out and its data waits for the module's prompt; any other prompt is
    // ignored, so that data never goes twice or to the wrong command.
    bool promptExpected = false;
    // Stops a step that gets no reply; created on first use, owned by the window.
    QTimer *replyTimer = nullptr;
    int replyTimeoutMs = UploadReplyTimeoutMs;
};

} // namespace oxa
