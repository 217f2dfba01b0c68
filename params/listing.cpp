#include "listing.h"

namespace oxa {

const ReadEntry *Listing::entryAt(int index) const {
    for (const ReadEntry &entry : entries)
        if (entry.index == index)
            return &entry;
    return nullptr;
}

} // namespace oxa
