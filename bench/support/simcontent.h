#pragma once

#include <QByteArray>

namespace oxa::bench {

constexpr int SimEntries = 250;
// Every entry that is not a key ends up as a phone-book row.
constexpr int KeyEntries = 27;
constexpr int GridRows = SimEntries - KeyEntries;
// The name of the entry at the last index, the last one a read shows.
inline constexpr char LastRowName[] = "Last row";

// A configuration file of exactly 250 entries: the 27 keys, button and keypad memories, access codes
// and the detect entry in reverse name order (the trees' worst case), then plain rows.
QByteArray fullConfiguration();

} // namespace oxa::bench

namespace oxa::bench {

// What the module sends for "AT+CPBR=1,250" with that configuration stored: one "+CPBR: " line per
// entry, then "OK".
QByteArray fullListing();

} // namespace oxa::bench
