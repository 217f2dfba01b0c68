#pragma once

#include <QByteArray>
#include <QList>

namespace oxa {

// One entry as the unit lists it ("+CPBR: index,"number",type,"name"").
struct ReadEntry {
    int index = 0;
    QByteArray indexText; // as listed, trimmed
    QByteArray number;
    QByteArray name;
    int type = 0; // the number's type (129, 145); 0 when the field is not a plain number
    friend bool operator==(const ReadEntry &, const ReadEntry &) = default;
};

// What the unit says of its phone book in answer to "AT+CPBR=?": "+CPBR: (1-N),numberLength,textLength".
struct SimGeometry {
    int size = 0;
    int numberLength = 0; // bytes a number may have; 0 when the unit did not say
    int textLength = 0;   // bytes a name may have; 0 when the unit did not say
    friend bool operator==(const SimGeometry &, const SimGeometry &) = default;
};

// A whole listing of the SIM: every used index, in the order the unit listed them (ascending).
struct Listing {
    SimGeometry sim;
    QList<ReadEntry> entries;

    const ReadEntry *entryAt(int index) const;
    friend bool operator==(const Listing &, const Listing &) = default;
};

} // namespace oxa
