#include "defaultsim.h"

namespace oxa::sim {

namespace {

struct Row {
    const char *name;
    const char *number;
};

// Key entries first, in the order the program writes them, then the phone-book rows.
constexpr Row DefaultRows[] = {
    {"ADMIN1", "+420603111222"},
    {"ADMIN2", "+420603333444"},
    {"ABUTTON1", "+420602555666"},
    {"ABUTTON2", "+420721777888"},
    {"BBUTTON1", "+420604999000"},
    {"ALARMON", "Alarm on"},
    {"ALARMOFF", "Alarm off"},
    {"PAROXA", "4#5#1#1#1#7#2#3"},
    {"PARRL1", "1#1#05#0"},
    {"PARRL2", "2#2#03#0"},
    {"PARKEY", "3#0"},
    {"B1-1", "+420603111222"},
    {"B1-2", "+420603333444"},
    {"B2-1", "+420777123456"},
    {"M12-1", "555123456"},
    {"M12-2", "777123456"},
    {"M7-1", "+420605000111"},
    {"C1234C", "1#0"},
    {"C246C", "1#1#1111100#05#0"},
    {"C777C", "2#2#0301#0615#1"},
    {"C4321C", "1#3#0501#10#0"},
    {"C99C", "2#4#07#18#**#0"},
    {"DETECT", "1"},
    {"Gate", "+420603123123"},
    {"Jan Novak", "+420603987654"},
    {"Service", "+420800123456"},
    {"Fire brigade", "150"},
};

} // namespace

QList<IndexedEntry> defaultSimContent(Variant variant, int simSize) {
    QList<IndexedEntry> entries;
    int index = 1;
    // The firmware version keeps the last location; with "#" it marks units without ring tones.
    const int versionIndex = simSize;
    for (const Row &row : DefaultRows) {
        if (index >= versionIndex)
            break;
        const QByteArray number(row.number);
        entries.append({index++, {number, QByteArray(row.name), SimEntry::typeOf(number)}});
    }
    // A name in the installer's own code page (Windows-1250 "Dvořák"): bytes above 127 round-trip.
    if (index < versionIndex) {
        const QByteArray number("+420731246810");
        entries.append({index++, {number, QByteArray("Dvo\xf8\xe1k"), SimEntry::typeOf(number)}});
    }
    if (versionIndex >= 1) {
        const QByteArray version = variant == Variant::Lte ? "6.2#L" : "5.14";
        entries.append({versionIndex, {version, "VER", SimEntry::typeOf(version)}});
    }
    return entries;
}

} // namespace oxa::sim
