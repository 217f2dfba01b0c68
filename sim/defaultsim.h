#pragma once

#include "simcard.h"
#include "unitoptions.h"

#include <QList>

namespace oxa::sim {

// The phone book of a unit as an installer finds it: administrators, button numbers, alarm texts, the
// four parameter strings, button and keypad memories, access codes in every mode, the detect entry and
// a few ordinary rows, laid out from index 1 as the configuration program writes them, and the
// firmware version at the last location. Entries that do not fit a smaller SIM are left out.
QList<IndexedEntry> defaultSimContent(Variant variant, int simSize);

} // namespace oxa::sim
