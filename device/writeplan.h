#pragma once

#include "codepagecodec.h"
#include "devicecommands.h"
#include "unitread.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace oxa {

// A phone-book grid row to write (params' PhoneBookRow maps to it: name, phone).
struct WriteRow {
    QByteArray name;
    QByteArray number;
};

// One exchange of the write sequence: what to send now, and what to show for it.
struct WriteAction {
    enum class Kind {
        Start,  // "AT\r\n" that opens the sequence
        Skip,   // an empty name or value: "AT\r\n", log "---", no SIM index used
        Write,  // "AT+CPBW=" + index + "," + value + ",," + name; log "SIM" + index
        Delete, // "AT+CPBW=" + index; log "delete SIM" + index
        Finish, // SimWriteIndex passed SimSize: unlock, PrepareRead, then (if the port has a
                // number) send the read-back "AT+CPBR=1," + SimSize
    };
    Kind kind = Kind::Start;
    int writeStep = 0;     // WriteStep after this action: the position of the progress bar
    int simIndex = 0;      // the index written or emptied; 0 for Start, Skip and Finish
    QByteArray name;       // the key or row name (Skip, Write); empty otherwise
    QByteArray command;    // the line to send
    QString log;           // the monitor line; empty for Start and Finish
    int pauseBeforeMs = 0; // 200 before Skip, Write and Delete
};

// An entry that the write would send with a CR or LF in a field.
struct WriteRefusal {
    QByteArray entryName; // the key, or the grid row's name
    int gridRow = 0;      // grid row counted from 1; 0 for a key
    int simIndex = 0;     // the index it would have been written to
    CommandField field = CommandField::None;
};

// The write sequence of the whole configuration, one action per "OK" from the module: the 27 keys
// in writeKeys() order, then the grid rows, each non-empty one to the next SIM index from 1; then
// every remaining index up to SimSize emptied; then the read-back. It works from a snapshot taken
// when the sequence starts (the controls stay locked meanwhile) and computes each action when it is
// asked for, so a huge SimSize costs nothing up front.
class WriteSequence {
public:
    // keyValues: the values of writeKeys(), in that order (missing ones count as empty).
    WriteSequence(QList<QByteArray> keyValues, QList<WriteRow> rows, int simSize);

    // The first entry that would be sent with a line break in a field. Check before start(): a
    // refused entry is never sent; should the sequence run anyway, it is skipped like an empty one.
    const std::optional<WriteRefusal> &refusal() const { return m_refusal; }

    // The opening "AT\r\n".
    WriteAction start();
    // The action for the next "OK". After Finish it returns Finish again without changing state.
    WriteAction next();

    bool finished() const { return m_finished; }
    // The action whose reply is awaited: for a message naming the entry and index that failed.
    const WriteAction &current() const { return m_current; }
    // The action before it: the one a reply answers that arrived before the current command went out.
    const WriteAction &previous() const { return m_previous; }
    int writeStep() const { return m_writeStep; }
    int simWriteIndex() const { return m_simWriteIndex; }
    int simSize() const { return m_simSize; }

private:
    WriteAction entry(const QByteArray &name, const QByteArray &value);
    QByteArray keyValue(int key) const;

    QList<QByteArray> m_keyValues;
    QList<WriteRow> m_rows;
    int m_simSize = 0;
    int m_writeStep = 0;
    int m_simWriteIndex = 1;
    bool m_finished = false;
    WriteAction m_current;
    WriteAction m_previous;
    std::optional<WriteRefusal> m_refusal;
};

// Why a whole write cannot finish: an entry the unit would refuse or store differently, or more entries
// than the SIM has indexes. Found before the first command, so that a write that cannot finish never
// starts and never leaves the unit half written.
struct WriteProblem {
    enum class Kind {
        BreakingByte,  // a byte that would change the command (see fieldcheck.h)
        NameTooLong,   // more bytes than the unit's text length
        NumberTooLong, // more bytes than the unit's number length
        DoesNotFit,    // no SIM index is left for it
    };
    Kind kind = Kind::BreakingByte;
    QByteArray entryName; // the key, or the grid row's name
    int gridRow = 0;      // grid row counted from 1; 0 for a key
    CommandField field = CommandField::None;
    char byte = 0;  // BreakingByte
    int length = 0; // NameTooLong, NumberTooLong: the field's bytes
};

// Checks every entry the whole write would store (a non-empty name and value) against the SIM the unit
// reported: its text and number lengths when it gave them, and its number of indexes.
QList<WriteProblem> checkWholeWrite(const QList<QByteArray> &keyValues, const QList<WriteRow> &rows,
                                    const SimGeometry &sim);
// Why the unit could not store `text` as an entry's name or number, as a short sentence for the cell's
// hint; empty when it could. Lengths are checked only when the unit reported them.
QString unwritableFieldReason(QByteArrayView text, CommandField field, const SimGeometry &sim);

// One line per problem (the first 15, then how many more), for a message; names shown in `codec`.
QString describeWriteProblems(const QList<WriteProblem> &problems, const SimGeometry &sim,
                              const CodePageCodec &codec);

// Every action of a whole write, from Start to Finish: for tests and previews.
QList<WriteAction> planWrite(const QList<QByteArray> &keyValues, const QList<WriteRow> &rows, int simSize);

// The module's reply time-out while a write step waits (the sequence then ends with a message).
constexpr int WriteReplyTimeoutMs = 10000;

} // namespace oxa
