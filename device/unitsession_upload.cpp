// The session with the unit: the upload list, step by step, each step waiting for the module.
#include "unitsession.h"

#include "devicecommands.h"
#include "portlayer.h"
#include "progressreport.h"
#include "unitconfiguration.h"
#include "upload_file.h"

#include <QTimer>

namespace oxa {

// "line 3 ("RUN:oxa.pyo")": lines are counted from 1 for people.
QString UnitSession::uploadLineName(int index) const {
    return tr("line %1 (\"%2\")").arg(index + 1).arg(m_upload.lines.value(index));
}

void UnitSession::upload(const QStringList &lines, const QString &listFolder) {
    whenFree([this, lines, listFolder] {
        if (!m_upload.running) {
            if (const std::optional<QString> busy = whyBusy()) {
                fail(tr("Nothing was sent: %1. Start the upload when it has finished.").arg(*busy));
                return;
            }
        }
        // Every step is checked before the first command goes out.
        if (const QList<UploadLineProblem> problems = checkUploadList(lines, listFolder);
            !problems.isEmpty()) {
            QStringList described;
            for (const UploadLineProblem &problem : problems.mid(0, 15))
                described << tr("- line %1 (\"%2\"): %3").arg(problem.line).arg(problem.text, problem.why);
            if (problems.size() > 15)
                described << tr("- and %1 more").arg(problems.size() - 15);
            fail(tr("Nothing was sent to the unit: these lines of the upload list cannot run:\n%1\nCorrect "
                    "the "
                    "list and start the upload again.")
                     .arg(described.join(QLatin1Char('\n'))));
            return;
        }
        endUpload(); // pressed again: start over
        // The module's files may be the unit's script: what it does to the SIM is not known.
        m_configuration.markListingStale(tr("an upload ran commands on the unit since the last read"));
        m_upload.lines = lines;
        m_upload.listFolder = listFolder;
        m_upload.index = 0;
        m_upload.cancelled = false;
        m_upload.running = true;
        m_upload.waiting = true;
        emit started(UnitOperation::Upload);
        emit progress(UnitOperation::Upload, 1, int(lines.size()) + 1);
        runUploadStep();
    });
}

// Nothing of the upload waits any more.
void UnitSession::endUpload() {
    const bool wasRunning = m_upload.running;
    m_upload.running = false;
    m_upload.waiting = false;
    m_upload.asendPending = false;
    m_upload.data.clear();
    m_upload.promptExpected = false;
    m_upload.stepSent = false;
    m_uploadTimeout->stop();
    if (wasRunning)
        emit stopped(UnitOperation::Upload);
}

void UnitSession::stopUpload(const QString &message) {
    endUpload();
    fail(message);
}

void UnitSession::runUploadStep() {
    const int index = m_upload.index;
    if (index >= m_upload.lines.size()) {
        const int steps = int(m_upload.lines.size());
        endUpload();
        emit finished(UnitOperation::Upload, uploadOutcome(steps));
        return;
    }
    const UploadStep step = classifyUploadLine(m_upload.lines.at(index));
    qint64 size = 0;
    if (step.sendsFile()) {
        m_upload.data.clear();
        const QString path = uploadFilePath(step.argument, m_upload.listFolder);
        UploadFile file = readUploadFile(path);
        if (!file.ok()) {
            stopUpload(tr("The upload stopped at %1: the file \"%2\" cannot be sent: %3.")
                           .arg(uploadLineName(index), path, file.error));
            return;
        }
        m_upload.data = std::move(file.data);
        size = m_upload.data.size();
    }
    const Command command = uploadCommand(step, size);
    if (!command.ok()) {
        stopUpload(tr("The upload stopped at %1: its %2 holds a line break.")
                       .arg(uploadLineName(index), commandFieldName(command.refused)));
        return;
    }
    const bool asend = step.kind == UploadStepKind::Asend;
    m_upload.waiting = true;
    m_upload.stepSent = false;
    const auto sendCommand = [this, command, step, asend] {
        if (!m_upload.running)
            return; // stopped during the pause (the line was lost): said already
        emit note(m_codePage.decode(command.logText()));
        m_upload.promptExpected = step.sendsFile();
        try {
            send(command.line);
        } catch (...) {
            endUpload();
            throw;
        }
        m_upload.stepSent = true;
        if (asend)
            m_upload.asendPending = true;
        m_uploadTimeout->start();
    };
    if (asend)
        pauseThen(m_uploadPause, sendCommand);
    else
        sendCommand();
}

// The module's prompt: the current file step's data goes out, in pieces the output queue takes.
void UnitSession::sendUploadData() {
    if (!m_upload.waiting || !m_upload.promptExpected)
        return; // no file step waits for a prompt: its data went already, or there is none
    m_upload.promptExpected = false;
    m_uploadTimeout->stop();
    emit note(QStringLiteral("+++++++++++++++"));
    pauseThen(500, [this] {
        if (!m_upload.running)
            return;
        sendUploadPieces(uploadPieces(m_upload.data), 0, 0, m_port.freeOutputSpace());
    });
}

// Sends piece `next` of `pieces` once the output queue has room for it (the first piece: its size; a later
// one: the whole queue, as it is sent only into an emptied queue), waiting in one-second steps while the
// queue drains; gives up when the line took nothing for UploadDrainIdleWaits waits in a row.
void UnitSession::sendUploadPieces(QList<QByteArray> pieces, int next, int idleWaits, int lastFree) {
    if (!m_upload.running)
        return;
    if (next >= pieces.size()) {
        if (m_upload.waiting)
            m_uploadTimeout->start();
        return;
    }
    const int needed = next == 0 ? int(pieces[next].size()) : PortLayer::OutputQueueSize;
    if (m_port.freeOutputSpace() < needed) {
        if (idleWaits >= UploadDrainIdleWaits) {
            stopUpload(tr("The upload stopped at %1: the serial line took no data for %2 s.")
                           .arg(uploadLineName(m_upload.index))
                           .arg(UploadDrainIdleWaits * UploadDrainWaitMs / 1000));
            return;
        }
        emit note(QStringLiteral("sending"));
        emit dataArrived(); // the indicator blinks while the line drains
        pauseThen(UploadDrainWaitMs, [this, pieces, next, idleWaits, lastFree] {
            const int free = m_port.freeOutputSpace();
            sendUploadPieces(pieces, next, free > lastFree ? 0 : idleWaits + 1, free);
        });
        return;
    }
    if (m_port.portNumber() == 0) {
        endUpload(); // the line went away during the wait; its loss was reported
        return;
    }
    if (next > 0)
        emit note(QStringLiteral("flush buffer"));
    try {
        send(pieces[next]);
    } catch (...) {
        endUpload();
        throw;
    }
    sendUploadPieces(pieces, next + 1, 0, m_port.freeOutputSpace());
}

void UnitSession::advanceUpload() {
    // An "OK" while a file step still waits for its prompt is not the step's end: no data went yet.
    if (!m_upload.waiting || m_upload.promptExpected)
        return;
    m_uploadTimeout->stop();
    m_upload.index += 1;
    m_upload.stepSent = false;
    m_upload.waiting = false;
    emit progress(UnitOperation::Upload, m_upload.index, int(m_upload.lines.size()) + 1);
    // Cancelled: the step in flight has finished; the next one does not start.
    if (std::exchange(m_upload.cancelled, false)) {
        const int done = m_upload.index;
        stopUpload(done < m_upload.lines.size()
                       ? tr("The upload was cancelled after %1: the module has taken the steps up to it, and "
                            "none after it.")
                             .arg(uploadLineName(done - 1))
                       : tr("The upload was cancelled after its last step: the module has taken all of it."));
        return;
    }
    pauseThen(500, [this] {
        if (m_upload.running)
            runUploadStep();
    });
}

void UnitSession::failUploadStep(const QByteArray &reply) {
    if (!m_upload.waiting)
        return;
    stopUpload(tr("The upload stopped at %1: the module answered \"%2\".")
                   .arg(uploadLineName(m_upload.index), m_codePage.decode(reply)));
}

void UnitSession::uploadLost(const QString &loss) {
    const int index = m_upload.index;
    const UploadStep step = classifyUploadLine(m_upload.lines.value(index));
    const QString name = step.argument;
    QString aftermath;
    if (!m_upload.stepSent)
        aftermath = tr("Its command had not gone out yet; the lines before it were done.");
    else if (step.sendsFile() && m_upload.promptExpected)
        aftermath =
            tr("The module may still be waiting for the file %1 and would take the next commands as its "
               "data; switch the unit off and on before uploading again.")
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
    stopUpload(tr("The upload stopped at %1: %2. %3").arg(uploadLineName(index), reason, aftermath));
}

void UnitSession::uploadTimedOut() {
    if (!m_upload.waiting)
        return;
    QString message = tr("The upload stopped at %1: the module did not answer within %2 s.")
                          .arg(uploadLineName(m_upload.index))
                          .arg(UploadReplyTimeoutMs / 1000.0);
    // A module that took the file command may be counting the file's bytes still: whatever comes next
    // would be stored as the file. The program cannot tell how many it waits for; a restart ends it.
    const int index = m_upload.index;
    if (index < m_upload.lines.size() && classifyUploadLine(m_upload.lines.at(index)).sendsFile())
        message +=
            QLatin1Char(' ') + tr("The module may still be waiting for the rest of the file and would take "
                                  "the next commands as its data; switch the unit off and on before "
                                  "uploading again.");
    stopUpload(message);
}

} // namespace oxa
