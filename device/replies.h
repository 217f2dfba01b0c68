#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include "listing.h"

#include <optional>

namespace oxa {

// The rows of the reply table, in the order in which they are tested; the first match acts.
enum class ReplyKind {
    Ok,         // 1  equals "OK"
    StopReport, // 2  equals "STOP", or contains "#APLAYEV:" (see reportsLteModule)
    Telit,      // 3  equals "Telit"
    SledReport, // 4  equals "[AT#SLED=1]="
    AsendDone,  // 5  contains "#ASENDEV:" while an "ASEND:" upload step waits
    Creg,       // 6  equals "+CREG: 0,1" or "+CREG: 0,5"
    Battery,    // 7  contains "#CBC:"        -> parseBattery
    Signal,     // 8  contains "+CSQ:"        -> parseSignalLevel
    SimSize,    // 9  contains "+CPBR: (1-"   -> parseSimSize
    Entry,      // 10 contains "+CPBR"        -> parseEntryLine
    Operator,   // 11 contains "#SPN"         -> operatorText
    Cops,       // 12 contains "COPS"
    Other,      // 13 anything else: only logged
};

ReplyKind classifyReply(QByteArrayView line, bool asendPending);

// Tests made on every line besides the reply table.
bool isLoggedLine(QByteArrayView line);     // false for lines containing "#SMSATWL"
bool showsRunTone(QByteArrayView line);     // contains "AT#tone=i,4]": show DeviceRun
bool reportsLteModule(QByteArrayView line); // contains "#APLAYEV:": set LteModule
// A refusal by the module: "ERROR", "+CME ERROR..." or "+CMS ERROR...". Not a row of the reply
// table (such a line is row 13); the write and upload sequences use it to end themselves.
bool isErrorReply(QByteArrayView line);

// A decimal integer, blanks around it allowed, an optional sign; nullopt for anything else,
// an empty text or a value outside int.
std::optional<int> parseDecimal(QByteArrayView text);

// "#CBC:" (row 7): everything after the line's first "," is V, the voltage in units of 10 mV.
struct BatteryReading {
    QByteArray field; // V as received: logged and shown as V + "0 mV"
    int value = 0;    // V as an integer, for the bar (which clamps it to 300..420)
};
// nullopt when the line has no "," or V is not a whole number.
std::optional<BatteryReading> parseBattery(QByteArrayView line);
QString batteryPanelText(const BatteryReading &reading); // " board voltage: " + V + "0 mV"
QString voltageCaption(const BatteryReading &reading);   // V + "0 mV"

// "+CSQ:" (row 8): the text between the first ":" and the next ",", trimmed; nullopt when there is
// no ":" or "," or the text is not a whole number.
std::optional<int> parseSignalLevel(QByteArrayView line);
enum class SignalColour { Red, Cyan, Lime };
SignalColour signalColour(int level); // 15..21 cyan, 22..31 lime, any other value red
quint32 signalRgb(int level);         // 0xRRGGBB: 0xff0000 / 0x00ffff / 0x00ff00
int signalMeterValue(int level);      // the level clamped to the meter's 0..31

// "+CPBR: (1-N)" (row 9): the text between the first "-" and the next ")", trimmed; nullopt when
// either is missing or the text is not a whole number.
std::optional<int> parseSimSize(QByteArrayView line);
constexpr bool simSizeReadsEntries(int simSize) {
    return simSize > 10;
}
QString simPanelText(int simSize); // " SIM: " + N

// "#SPN" (row 11): the line after its first ":" (the whole line when it has none), leading blank
// kept, so that the panel shows two blanks before the name.
QByteArray operatorText(QByteArrayView line);
QString operatorPanelText(const QString &operatorName); // "Operator: " + name, decoded by the caller

// "+CPBR:" entry line (row 10), into a ReadEntry (listing.h).
// index: between the first ":" and the next ",", trimmed, digits only;
// number: between the line's first and second double quote;
// name: between the next two double quotes after the first "," that follows the number.
// nullopt when any of these delimiters is missing or the index is not a number.
std::optional<ReadEntry> parseEntryLine(QByteArrayView line);

// "VER" entry: a number containing "#" disables the three tone boxes; the panel's prefix follows
// the word "OXA" in the panel's current text. The version is decoded by the caller.
bool versionDisablesTones(QByteArrayView number);
QString versionPanelText(const QString &currentPanelText, const QString &version);

} // namespace oxa
