#include "upload_flow.h"

#include "portlayer.h"
#include "tform1.h"
#include "upload_file.h"
#include "uploadlist.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTimer>

#include <utility>

namespace oxa {

namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("Upload", text);
}

// "line 3 ("RUN:oxa.pyo")": lines are counted from 1 for people.
QString lineName(const TForm1 &form, int index) {
    return tr("line %1 (\"%2\")").arg(index + 1).arg(form.upload.lines.value(index));
}

// The device buttons wait while an upload runs: a read, write, run or stop would put its commands
// between the upload's.
constexpr const char *LockedDuringUpload[] = {"SaveOXA", "LoadOXA", "RunOXA", "StopOXA"};

void lockDeviceButtons(TForm1 &form) {
    if (!form.upload.lockedButtons.isEmpty())
        return; // locked already (Upgrade pressed again)
    for (const char *name : LockedDuringUpload) {
        auto *button = form.ctl<QWidget>(name);
        form.upload.lockedButtons.append({QLatin1String(name), button->isEnabled()});
        button->setEnabled(false);
    }
}

void unlockDeviceButtons(TForm1 &form) {
    for (const auto &[name, enabled] : std::exchange(form.upload.lockedButtons, {}))
        if (auto *button = qobject_cast<QWidget *>(form.control(name)))
            button->setEnabled(enabled);
}

// Nothing of the upload waits any more.
void stopWaiting(TForm1 &form) {
    form.upload.running = false;
    form.upload.stepSent = false;
    form.state.UploadWaiting = false;
    form.state.AsendPending = false;
    form.state.UploadData.clear();
    form.upload.promptExpected = false;
    if (form.upload.replyTimer)
        form.upload.replyTimer->stop();
    unlockDeviceButtons(form);
}

// Ends the upload where it stands (stopped or started over): its progress goes with it.
void endUpload(TForm1 &form) {
    stopWaiting(form);
    form.ctl<QWidget>("Prubeh")->hide();
}

void stopWithMessage(TForm1 &form, const QString &message) {
    endUpload(form);
    form.report(message);
}

// Runs `work`; when it throws (a refused send), the upload ends first, then the error goes on to the
// handler's report: one message, and nothing left waiting for a reply that cannot come.
template <class Work> void endOnFailure(TForm1 &form, Work work) {
    try {
        work();
    } catch (...) {
        endUpload(form);
        throw;
    }
}

void restartReplyTimer(TForm1 &form) {
    uploadReplyTimer(form)->start(form.upload.replyTimeoutMs);
}

// Waits in one-second steps until the output queue has room for `bytes`; false when the line took
// nothing for UploadDrainIdleWaits waits in a row (flow control held for good, a stuck port).
bool waitForOutputRoom(TForm1 &form, int bytes) {
    int idleWaits = 0;
    int lastFree = form.port()->freeOutputSpace();
    while (form.port()->freeOutputSpace() < bytes) {
        if (idleWaits >= UploadDrainIdleWaits)
            return false;
        form.log(QStringLiteral("sending"));
        form.blinkLineIndicator();
        form.pause(UploadDrainWaitMs);
        const int free = form.port()->freeOutputSpace();
        idleWaits = free > lastFree ? 0 : idleWaits + 1;
        lastFree = free;
    }
    return true;
}

void runStep(TForm1 &form) {
    const int index = form.state.UploadIndex;
    if (index >= form.upload.lines.size()) {
        // The list is done: the bar stays at its last position until another operation hides it.
        stopWaiting(form);
        return;
    }
    const UploadStep step = classifyUploadLine(form.upload.lines.at(index));
    qint64 size = 0;
    if (step.sendsFile()) {
        form.state.UploadData.clear();
        const QString path = uploadFilePath(step.argument, form.upload.listFolder);
        UploadFile file = readUploadFile(path);
        if (!file.ok()) {
            stopWithMessage(form, tr("The upload stopped at %1: the file \"%2\" cannot be sent: %3.")
                                      .arg(lineName(form, index), path, file.error));
            return;
        }
        form.state.UploadData = std::move(file.data);
        size = form.state.UploadData.size();
    }
    const Command command = uploadCommand(step, size);
    if (!command.ok()) {
        stopWithMessage(form, tr("The upload stopped at %1: its %2 holds a line break.")
                                  .arg(lineName(form, index), commandFieldName(command.refused)));
        return;
    }

    const bool asend = step.kind == UploadStepKind::Asend;
    form.state.UploadWaiting = true;
    form.upload.stepSent = false;
    endOnFailure(form, [&] {
        if (asend)
            form.pause(form.uploadPause());
        if (!form.upload.running)
            return; // stopped during the pause (the line was lost): said already
        form.log(form.shownText(command.logText()));
        form.upload.promptExpected = step.sendsFile();
        form.send(command.line);
        form.upload.stepSent = true;
    });
    if (!form.upload.running)
        return;
    if (asend)
        form.state.AsendPending = true;
    restartReplyTimer(form);
}

} // namespace

void startUpload(TForm1 &form) {
    const QStringList lines = uploadListLines(form.ctl<QPlainTextEdit>("List")->toPlainText());
    if (!form.upload.running) {
        if (const std::optional<QString> busy = form.whyDeviceBusy()) {
            form.report(tr("Nothing was sent: %1. Start the upload when it has finished.").arg(*busy));
            return;
        }
    }
    // Every step is checked before the first command goes out.
    if (const QList<UploadLineProblem> problems = checkUploadList(lines, form.upload.listFolder);
        !problems.isEmpty()) {
        QStringList described;
        for (const UploadLineProblem &problem : problems.mid(0, 15))
            described << tr("- line %1 (\"%2\"): %3").arg(problem.line).arg(problem.text, problem.why);
        if (problems.size() > 15)
            described << tr("- and %1 more").arg(problems.size() - 15);
        form.report(
            tr("Nothing was sent to the unit: these lines of the upload list cannot run:\n%1\nCorrect "
               "the list and start the upload again.")
                .arg(described.join(QLatin1Char('\n'))));
        return;
    }
    endUpload(form); // pressed again: start over
    form.upload.cancelled = false;
    // The module's files may be the unit's script: what it does to the SIM is not known.
    form.markListingStale(tr("an upload ran commands on the unit since the last read"));
    lockDeviceButtons(form);
    form.upload.lines = lines;
    auto *progress = form.ctl<QProgressBar>("Prubeh");
    progress->setRange(0, int(form.upload.lines.size()) + 1);
    progress->setValue(1);
    progress->show();
    form.state.UploadIndex = 0;
    form.state.UploadWaiting = true;
    form.upload.running = true;
    runStep(form);
}

bool uploadRunning(const TForm1 &form) {
    return form.upload.running;
}

void sendStepData(TForm1 &form) {
    if (!form.state.UploadWaiting || !form.upload.promptExpected)
        return; // no file step waits for a prompt: its data went already, or there is none
    form.upload.promptExpected = false;
    uploadReplyTimer(form)->stop();
    const int index = form.state.UploadIndex;
    endOnFailure(form, [&] {
        form.log(QStringLiteral("+++++++++++++++"));
        form.pause(500);
        const QList<QByteArray> pieces = uploadPieces(form.state.UploadData);
        for (qsizetype i = 0; i < pieces.size(); ++i) {
            if (!waitForOutputRoom(form, i == 0 ? int(pieces[i].size()) : PortLayer::OutputQueueSize)) {
                stopWithMessage(form, tr("The upload stopped at %1: the serial line took no data for %2 s.")
                                          .arg(lineName(form, index))
                                          .arg(UploadDrainIdleWaits * UploadDrainWaitMs / 1000));
                return;
            }
            if (form.port()->portNumber() == 0) {
                endUpload(form); // the line went away during the wait; its loss was reported
                return;
            }
            if (i > 0)
                form.log(QStringLiteral("flush buffer"));
            form.send(pieces[i]);
        }
    });
    if (form.state.UploadWaiting)
        restartReplyTimer(form);
}

void advanceToNextStep(TForm1 &form) {
    // An "OK" while a file step still waits for its prompt is not the step's end: no data went yet.
    if (!form.state.UploadWaiting || form.upload.promptExpected)
        return;
    uploadReplyTimer(form)->stop();
    form.state.UploadIndex += 1;
    form.upload.stepSent = false;
    form.ctl<QProgressBar>("Prubeh")->setValue(form.state.UploadIndex);
    form.state.UploadWaiting = false;
    // Cancelled: the step in flight has finished; the next one does not start.
    if (std::exchange(form.upload.cancelled, false)) {
        const int done = form.state.UploadIndex;
        stopWithMessage(form,
                        done < form.upload.lines.size()
                            ? tr("The upload was cancelled after %1: the module has taken the steps up to "
                                 "it, and none after it.")
                                  .arg(lineName(form, done - 1))
                            : tr("The upload was cancelled after its last step: the module has taken all "
                                 "of it."));
        return;
    }
    form.pause(500);
    if (form.upload.running)
        runStep(form);
}

void cancelUpload(TForm1 &form) {
    if (form.upload.running)
        form.upload.cancelled = true;
}

void failUploadStep(TForm1 &form, const QByteArray &reply) {
    if (!form.state.UploadWaiting)
        return;
    stopWithMessage(form, tr("The upload stopped at %1: the module answered \"%2\".")
                              .arg(lineName(form, form.state.UploadIndex), form.shownText(reply)));
}

void uploadLineLost(TForm1 &form, const QString &loss) {
    const int index = form.state.UploadIndex;
    const UploadStep step = classifyUploadLine(form.upload.lines.value(index));
    const QString name = step.argument;
    QString aftermath;
    if (!form.upload.stepSent)
        aftermath = tr("Its command had not gone out yet; the lines before it were done.");
    else if (step.sendsFile() && form.upload.promptExpected)
        aftermath = tr("The module may still be waiting for the file %1 and would take the next commands as "
                       "its data; switch the unit off and on before uploading again.")
                        .arg(name);
    else if (step.sendsFile())
        aftermath = tr("The module may hold only part of the file %1 and may still be waiting for the rest; "
                       "switch the unit off and on, then upload the list again.")
                        .arg(name);
    else if (step.kind == UploadStepKind::Delete)
        aftermath = tr("The module may or may not have deleted %1.").arg(name);
    else if (step.kind == UploadStepKind::Run)
        aftermath = tr("The module may or may not have selected %1 as the script it starts.").arg(name);
    else
        aftermath = tr("The module may or may not have carried out \"%1\".").arg(name);
    // The loss's own words are a sentence; its full stop ends the clause here.
    QString reason = loss;
    if (reason.endsWith(QLatin1Char('.')))
        reason.chop(1);
    stopWithMessage(form,
                    tr("The upload stopped at %1: %2. %3").arg(lineName(form, index), reason, aftermath));
}

void uploadReplyTimedOut(TForm1 &form) {
    if (!form.state.UploadWaiting)
        return;
    QString message = tr("The upload stopped at %1: the module did not answer within %2 s.")
                          .arg(lineName(form, form.state.UploadIndex))
                          .arg(form.upload.replyTimeoutMs / 1000.0);
    // A module that took the file command may be counting the file's bytes still: whatever comes next
    // would be stored as the file. The program cannot tell how many it waits for; a restart ends it.
    const int index = form.state.UploadIndex;
    if (index < form.upload.lines.size() && classifyUploadLine(form.upload.lines.at(index)).sendsFile())
        message +=
            QLatin1Char(' ') + tr("The module may still be waiting for the rest of the file and would take "
                                  "the next commands as its data; switch the unit off and on before "
                                  "uploading again.");
    stopWithMessage(form, message);
}

QTimer *uploadReplyTimer(TForm1 &form) {
    if (form.upload.replyTimer)
        return form.upload.replyTimer;
    auto *timer = new QTimer(&form);
    timer->setObjectName(QStringLiteral("UploadTimeout"));
    timer->setSingleShot(true);
    timer->setInterval(form.upload.replyTimeoutMs);
    QObject::connect(timer, &QTimer::timeout, &form, [&form, timer] {
        // Inside another handler's pause the tick waits a little; the step goes on meanwhile.
        if (form.handlerRunning()) {
            timer->start(100);
            return;
        }
        form.runHandler([&form] { uploadReplyTimedOut(form); });
    });
    form.upload.replyTimer = timer;
    return timer;
}

void setUploadReplyTimeout(TForm1 &form, int milliseconds) {
    form.upload.replyTimeoutMs = milliseconds;
    uploadReplyTimer(form)->setInterval(milliseconds);
}

} // namespace oxa
