#pragma once

#include "fault.h"
#include "simcard.h"
#include "unit.h"

#include <QByteArray>
#include <QString>

namespace oxa::sim {

// A control line of the command-line simulator: what a pseudo-terminal cannot carry (DTR) and what a
// test or a person wants to see or break.
struct ControlLine {
    enum class Kind { Empty, Dtr, Dump, Files, State, Fault, Reboot, Help, Quit, Invalid };

    Kind kind = Kind::Empty;
    bool dtr = false;
    Fault fault;
    QString error; // Invalid: why
};

// "dtr 1", "dtr 0", "dump", "files", "state", "fault <spec>", "reboot", "help", "quit".
ControlLine parseControlLine(const QByteArray &line);

QByteArray controlHelp();

// Every used entry as "index,number,name", one a line, then "end".
QByteArray dumpText(const SimCard &sim);
// Every stored file as "name,size", then "end".
QByteArray filesText(const FileStore &files);
// "script running dtr 0 echo 1" and so on.
QByteArray stateText(const Unit &unit);

} // namespace oxa::sim
