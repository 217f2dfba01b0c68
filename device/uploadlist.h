#pragma once

#include "devicecommands.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace oxa {

// The kind of an upload-list line, found by substring tests in this order, first match only.
enum class UploadStepKind {
    Run,       // contains "RUN:": select the script the module starts
    Asend,     // contains "ASEND:": send the file named by the rest with "AT#ASEND="
    Set,       // contains "SET:": the rest is a module command
    Delete,    // contains "DEL:": delete the module file named by the rest
    WriteFile, // none of these: write the file named by the whole line with "AT#WSCRIPT="
};

struct UploadStep {
    UploadStepKind kind = UploadStepKind::WriteFile;
    // The line after its first ":" (the whole line for WriteFile): the module-side name or the
    // command, and for Asend and WriteFile also the path of the file on the PC.
    QString argument;

    bool sendsFile() const { return kind == UploadStepKind::Asend || kind == UploadStepKind::WriteFile; }
};

UploadStep classifyUploadLine(const QString &line);

// The steps of the list memo's text, one per line (LF, CR LF or CR ends a line); a trailing empty
// line is not a step, an empty line inside the list is (a plain file with an empty name).
QStringList uploadListLines(const QString &text);

// The command the step sends; fileSize is the byte count of its file (ignored by the steps without
// a file). Names reach the module byte for byte (Latin-1). The monitor shows command.logText().
Command uploadCommand(const UploadStep &step, qint64 fileSize = 0);

// What the module answers to a step, in order, and what the program does on each reply.
enum class UploadReply { Prompt, Ok, AsendEvent };
enum class UploadResponse { SendData, NextLine, SendAttention };
struct UploadExchange {
    UploadReply reply;
    UploadResponse response;
};
// Run, Set, Delete: OK -> next line. WriteFile: prompt -> data, OK -> next line.
// Asend: prompt -> data, "#ASENDEV:" -> "AT\r\n", OK -> next line (an OK before the event does
// not advance).
QList<UploadExchange> uploadExchanges(UploadStepKind kind);

// A file goes to the port in pieces of at most UploadPieceSize bytes, each after the output queue
// has drained; at most one piece for a file of up to UploadPieceSize bytes, none for an empty one.
constexpr qsizetype UploadPieceSize = 64000;
QList<QByteArray> uploadPieces(const QByteArray &data, qsizetype pieceSize = UploadPieceSize);

// The module's own limit for a file write: a step without a reply for this long stops the upload.
constexpr int UploadReplyTimeoutMs = 30000;
// While the output queue drains: one-second waits, at most this many in a row without progress.
constexpr int UploadDrainWaitMs = 1000;
constexpr int UploadDrainIdleWaits = 30;

} // namespace oxa
