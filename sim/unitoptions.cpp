#include "unitoptions.h"

namespace oxa::sim {

Timing Timing::realistic() {
    Timing timing;
    timing.simReadLatencyUs = 2000;
    timing.simWriteLatencyUs = 15000;
    timing.fileWriteBytesPerSecond = 40000;
    timing.lineBitsPerSecond = 115200;
    return timing;
}

Timing Timing::instant() {
    Timing timing;
    timing.stopReportMs = 0;
    timing.sledLineMs = 0;
    timing.bootMs = 0;
    timing.bootLineGapMs = 0;
    timing.lteRestartMs = 0;
    timing.asendEventMs = 0;
    return timing;
}

} // namespace oxa::sim
