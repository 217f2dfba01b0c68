#pragma once

#include "backup.h"
#include "linereader.h"
#include "replyepochs.h"
#include "unitread.h"

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
    bool RefreshAfterOk = false;
    // Which commands had gone out when each received byte arrived.
    ReplyEpochs Epochs;

    // The read of the unit under way, or the last one: it collects a listing and hands it over whole.
    UnitRead Read;
    quint64 ReadEpoch = 0; // commands sent when its current command went out
    // The last whole listing the window shows, and why its indexes may no longer match the unit
    // (empty while they do). Nothing addresses a SIM index unless the listing is current.
    std::optional<Listing> WholeListing;
    int ListingsShown = 0; // whole listings the window has shown so far
    QString ListingStale = QStringLiteral("the unit has not been read yet");
    // Why a whole write may not start (empty when it may): a read that was not whole, or a line lost
    // since the last whole read. A write that failed may be started again without a read.
    QString WriteBlocked = QStringLiteral("the unit has not been read yet");

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

    // The backup made before the write under way or the last one.
    QString LastBackup;
    // Cancel was pressed: the write stops once its command in flight is answered.
    bool WriteCancelled = false;
    // The commands sent when the write's current command went out: an earlier reply is not its answer.
    quint64 WriteCommandEpoch = 0;

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
