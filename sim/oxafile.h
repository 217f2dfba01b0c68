#pragma once

#include "simcard.h"

#include <QByteArray>
#include <QList>

namespace oxa::sim {

// One NAME=value line of a configuration file.
struct OxaRow {
    QByteArray name;
    QByteArray value;
    bool operator==(const OxaRow &) const = default;
};

// The lines of a configuration file (CR LF, CR or LF), each split at its first "=" (a line without
// one has an empty name); a last empty line does not count.
QList<OxaRow> parseOxaFile(const QByteArray &content);

// The SIM a unit holds after the program has written this configuration to it: the key entries in
// their fixed order (first line of each key, letter case ignored; "PARAMOXA", "PARAMRL1", "PARAMRL2"
// give the parameter strings PAROXA, PARRL1, PARRL2), then the other lines in file order, from index 1
// without gaps. Lines with an empty name or value take no location, as the program skips them.
QList<IndexedEntry> simContentFromOxa(const QByteArray &content);

} // namespace oxa::sim
