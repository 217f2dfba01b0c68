#pragma once

#include "keyentries.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace oxa {

// Where a read entry goes, by its name (compared exactly, letter case included).
enum class EntryTarget {
    KeyBox,    // ADMIN1..7, ABUTTON1..7, BBUTTON1..7, ALARMON, ALARMOFF: the edit box of that name
    Version,   // "VER": the tone boxes and status panel 4
    Parameter, // PAROXA, PARRL1, PARRL2, PARKEY: stored, then DecodeParameters
    GridRow,   // any other name: a phone-book row
};
EntryTarget classifyEntryName(QByteArrayView name);

// A name of the key table (KeyBox, Version or Parameter). The first entry of a read that is not a
// key replaces the grid and lets the tagged-entry decoding empty the trees.
inline bool isKeyName(QByteArrayView name) {
    return classifyEntryName(name) != EntryTarget::GridRow;
}

// The 27 keys in the order in which the write sequence writes them: ADMIN1..7, ABUTTON1..7,
// BBUTTON1..7, ALARMON, ALARMOFF (the 23 edit boxes), then PAROXA, PARRL1, PARRL2, PARKEY.
const QList<QByteArray> &writeKeys();
constexpr int WriteKeyCount = int(kWriteOrderKeys.size());
constexpr int KeyBoxCount = int(kEditBoxKeys.size());
// The 23 edit-box keys and the four parameter-string keys, each in write order.
QList<QByteArray> keyBoxNames();
QList<QByteArray> parameterNames();

} // namespace oxa
