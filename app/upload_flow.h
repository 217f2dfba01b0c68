#pragma once

#include <QByteArray>
#include <QString>

class QTimer;

namespace oxa {

class TForm1;

// The upload through the list, step by step, on the window's state and controls. Each function runs
// inside a handler of the window; a failed send ends the upload before its error goes to the report.

// From Upgrade to the list's end or its stop.
bool uploadRunning(const TForm1 &form);
// Upgrade: takes the list from the memo and runs its first step.
void startUpload(TForm1 &form);
// The module's prompt: the current file step's data goes out.
void sendStepData(TForm1 &form);
// The step's "OK": on to the next line after the usual pause.
void advanceToNextStep(TForm1 &form);
// The module refused the step: the upload stops with a message naming the line.
void failUploadStep(TForm1 &form, const QByteArray &reply);
// Cancel: the step in flight finishes, then the upload ends with a message naming the last step taken.
void cancelUpload(TForm1 &form);
// The line went away: the upload ends with one message, the loss's own words, the step it stopped at
// and what the module may hold of that step.
void uploadLineLost(TForm1 &form, const QString &loss);
// No reply within the time-out: the upload stops with a message naming the line.
void uploadReplyTimedOut(TForm1 &form);

// The single-shot reply timer, created on first use; its tick runs uploadReplyTimedOut as a handler.
QTimer *uploadReplyTimer(TForm1 &form);
// Time-out of one step (tests shorten it).
void setUploadReplyTimeout(TForm1 &form, int milliseconds);

// Waits while the output queue drains: at most this many one-second waits in a row without progress.
constexpr int UploadDrainWaitMs = 1000;
constexpr int UploadDrainIdleWaits = 30;

} // namespace oxa
