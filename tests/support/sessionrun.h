#pragma once

// Seeded sequences of what a technician does, and what the line and the unit do to it, run against the
// window and an in-process simulated unit, with the program's promises checked after every step:
//  - every command that addresses a SIM index (a delete or rewrite of a memory, button, code, the
//    detect switch) addresses the entry the window showed at that index, in the unit as it is then;
//  - after every whole listing the window shows the unit's SIM: rows, keys, trees and the detect box;
//  - while the window calls its listing current, every tree node and the detect entry are in the SIM.
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace oxa::test {

struct SessionOp {
    enum class Kind : quint8 {
        Read,         // Load (or Stop, when the unit's script runs)
        WholeWrite,   // the device column's Save
        EditKey,      // a new number in an ADMIN box
        AddRow,       // Insert Line, then a name and a number typed in
        DeleteRow,    // Delete Line on some row
        WriteMemory,  // a keypad memory rewritten (a node chosen) or created
        DeleteMemory, // Del Memo on some node
        WriteCode,    // a code rewritten (a node chosen) or created
        DeleteCode,   // Del Code on some node
        DetectToggle, // the detect box clicked
        LoadFile,     // a configuration file loaded
        PortLoss,     // the adapter pulled out (and chosen again at the next send)
        Refusal,      // the unit refuses its next command
        Silence,      // the unit leaves its next commands unanswered
        StrayLine,    // a line on the wire that answers nothing
        ScriptRuns,   // Run, the unit's script changes the SIM, Stop
        Count
    };
    Kind kind = Kind::Read;
    quint8 a = 0;
    quint8 b = 0;
    bool operator==(const SessionOp &) const = default;
};

QList<SessionOp> randomSession(quint32 seed, int length);
// Three bytes per operation (a fuzzer's input).
QList<SessionOp> sessionFromBytes(QByteArrayView bytes);
QString describeSession(const QList<SessionOp> &ops);

// Runs the operations against a fresh window and unit; the first broken promise, or an empty string.
QString runSession(const QList<SessionOp> &ops);

// The shortest sequence found (by leaving operations out) that still breaks a promise.
QList<SessionOp> shrinkSession(QList<SessionOp> ops);

} // namespace oxa::test
