#pragma once

#include "simcard.h"

#include <QByteArray>
#include <QList>
#include <optional>

namespace oxa::sim {

// Module families the unit is built with. They differ in how the device script reports that it
// stopped and in how it is started again.
enum class Variant {
    Classic, // "STOP", then "[AT#SLED=1]=" after echo is switched off; restarted by "AT#REBOOT"
    Lte,     // a "#APLAYEV:" event; restarted by lowering DTR
};

// How long things take on the unit. All delays are in milliseconds of the unit's clock.
struct Timing {
    qint64 stopReportMs = 300;     // DTR raised -> stop report of the running script
    qint64 sledLineMs = 200;       // "OK" to echo-off -> "[AT#SLED=1]=" (classic variant)
    qint64 bootMs = 3000;          // reboot -> module answers, script starts
    qint64 bootLineGapMs = 250;    // between the first lines of a starting script
    qint64 lteRestartMs = 500;     // DTR lowered -> reboot (LTE variant)
    qint64 firstStatusMs = 2000;   // start-up with the script running -> its first status lines
    qint64 statusPeriodMs = 15000; // between status rounds of the running script; 0: none
    qint64 asendEventMs = 300;     // "OK" after a file send -> "#ASENDEV:" event
    // Per phone-book location read or written (microseconds); 0: none.
    qint64 simReadLatencyUs = 0;
    qint64 simWriteLatencyUs = 0;
    // How fast the module stores a received file (bytes per second); 0: at once.
    qint64 fileWriteBytesPerSecond = 0;
    // Output throttled to this line rate (bits per second, 8N1); 0: output at once.
    qint64 lineBitsPerSecond = 0;

    // What a real unit takes: line rate 115200, SIM and file-system latency.
    static Timing realistic();
    // For tests on a manual clock: every one-off delay is zero, so that stop reports, boots and file
    // writes complete on the next turn; only the periodic status lines need the clock moved.
    static Timing instant();
};

struct Identity {
    QByteArray manufacturer = "Telit";
    QByteArray model;    // empty: by variant
    QByteArray revision; // empty: by variant
    QByteArray imei = "356938035643809";
    QByteArray imsi = "230011234567890"; // the SIM's subscriber identity (AT+CIMI)
    QByteArray operatorName = "T-Mobile CZ";
    // The SIM's SMS service centre (AT+CSCA?).
    QByteArray serviceCentre = "+420603052000";
    int signal = 18;
    // Supply voltage in units of 10 mV, as the module reports it.
    int batteryCentiVolts = 405;
};

struct UnitOptions {
    Variant variant = Variant::Classic;
    // Script running at power-up (else the module takes commands at once).
    bool startRunning = true;
    int simSize = 250;
    // SIM content; nullopt: the realistic default SIM of the variant.
    std::optional<QList<IndexedEntry>> simContent;
    Timing timing = Timing::realistic();
    Identity identity;
    // Error reporting mode at power-up (AT+CMEE): 1 gives "+CME ERROR: <n>".
    int cmeeMode = 1;
    // The code page the SIM's names are written in (an ICU name): what a client that chooses "UCS2",
    // "GSM" or "8859-1" with AT+CSCS reads them as. "IRA" passes the bytes unchanged whatever it is.
    QByteArray codePage = "windows-1250";
};

} // namespace oxa::sim
