#pragma once

#include "backup.h"
#include "linereader.h"

#include <QByteArray>
#include <QStringList>

namespace oxa {

// The working state of the dialogue with the unit, owned by the main window. The data itself lives in
// the controls; these are the flags, counters and held strings between one reply and the next.
struct DialogueState {
    // Receive parser: the line received so far
    LineReader ReceiveLine;
    int SimSize = 0;
    int SignalLevel = 0;
    bool Ate0Sent = false;
    bool LteModule = false;
    bool FirstEntryOfRead = true;
    bool RefreshAfterOk = false;
    // "OK"s until the entry listing has ended: the size query's own, then the listing's.
    int ListingOks = 0;

    // Whole-device write
    bool WriteInProgress = false;
    int WriteStep = 0;
    int SimWriteIndex = 0;

    // Upload
    bool UploadWaiting = false;
    bool AsendPending = false;
    int UploadIndex = 0;
    QByteArray UploadData;

    // The four parameter strings, held for the whole run.
    QByteArray PAROXA, PARRL1, PARRL2, PARKEY;

    // What the unit listed in its last read that listed anything, kept for the backup made before a
    // whole-device write; a new read replaces it from its first entry on.
    UnitEntries LastRead;
    bool ReadStarting = false;
    QString LastBackup;

    // Tagged entries
    QByteArray DetectEntry;
    // A detect-box change went out and waits for its own "OK"; the box's state and the entry before it,
    // to put back when the unit refuses or never answers.
    bool DetectChangePending = false;
    bool DetectBoxBefore = false;
    QByteArray DetectEntryBefore;
    QByteArray SelectedMemoPrefix;
    QByteArray SelectedButtonPrefix;
};

} // namespace oxa
