#pragma once

#include <QList>

namespace oxa {

// The dialogue's flags that decide what an "OK" from the module does.
struct OkFlags {
    bool refreshAfterOk = false;
    bool uploadWaiting = false;
    bool asendPending = false;
    bool ate0Sent = false;
    bool lteModule = false;
    bool writeInProgress = false;
};

enum class OkAction {
    // Clear RefreshAfterOk; PrepareRead; pause 200 ms; send "AT#SPN\r\n".
    StartRefreshRead,
    // Advance the upload to its next line.
    AdvanceUpload,
    // LTE stop handshake: clear Ate0Sent; pause 200 ms; log "----------------------2";
    // send "AT#SPN\r\n"; log ">AT#SPN".
    FinishLteStop,
    // Run one step of the write sequence.
    AdvanceWrite,
};

// What an "OK" does, in order: a re-read first when asked for, then at most one of the upload,
// the LTE stop handshake and the write sequence. None of the actions changes a flag that a later
// one depends on, so the list can be decided before the first runs.
QList<OkAction> dispatchOk(const OkFlags &flags);

} // namespace oxa
