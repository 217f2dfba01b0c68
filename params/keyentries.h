#pragma once

#include <QByteArray>
#include <array>
#include <cstddef>
#include <optional>

namespace oxa {

// The SIM entries whose names are fixed keys. Names are single-byte text, compared exactly when they
// come from the unit; the configuration file compares them without regard to letter case.

// All 27 keys the write sequence stores, in their fixed order: the edit-box keys, then the parameter strings.
inline constexpr std::array<const char *, 27> kWriteOrderKeys = {
    "ADMIN1",   "ADMIN2",   "ADMIN3",   "ADMIN4",   "ADMIN5",   "ADMIN6",   "ADMIN7",
    "ABUTTON1", "ABUTTON2", "ABUTTON3", "ABUTTON4", "ABUTTON5", "ABUTTON6", "ABUTTON7",
    "BBUTTON1", "BBUTTON2", "BBUTTON3", "BBUTTON4", "BBUTTON5", "BBUTTON6", "BBUTTON7",
    "ALARMON",  "ALARMOFF", "PAROXA",   "PARRL1",   "PARRL2",   "PARKEY"};

// The 23 keys that carry the text of the edit box of the same name, in write order: the first ones above.
inline constexpr std::array<const char *, 23> kEditBoxKeys = [] {
    std::array<const char *, 23> keys{};
    for (std::size_t i = 0; i < keys.size(); ++i)
        keys[i] = kWriteOrderKeys[i];
    return keys;
}();

// The four parameter strings.
enum class ParameterString { Oxa, Relay1, Relay2, Key };
inline constexpr std::array<ParameterString, 4> kParameterStrings = {
    ParameterString::Oxa, ParameterString::Relay1, ParameterString::Relay2, ParameterString::Key};

// Sent by the unit with its version; never written.
inline constexpr const char *kVersionKey = "VER";

// The entry name of a parameter string on the SIM: "PAROXA", "PARRL1", "PARRL2", "PARKEY".
const char *simKeyName(ParameterString which);
// The line name the configuration file uses: "PARAMOXA", "PARAMRL1", "PARAMRL2"; nullptr for PARKEY,
// which the file does not carry.
const char *savedFileName(ParameterString which);

enum class KeyKind { None, EditBox, Parameter, Version };

// What an entry name read from the unit is (exact comparison, letter case included). Every entry of
// kind None is a phone-book row.
KeyKind keyKind(const QByteArray &name);
// Index into kEditBoxKeys of an exact edit-box key, or -1.
int editBoxKeyIndex(const QByteArray &name);
// The parameter string an exact SIM key names.
std::optional<ParameterString> parameterStringForKey(const QByteArray &name);

// Equality of two single-byte names ignoring ASCII letter case (keys are plain ASCII).
bool sameNameIgnoringCase(const QByteArray &a, const char *key);

} // namespace oxa
