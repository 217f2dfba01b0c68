#pragma once

#include "keyentries.h"
#include "parameterstrings.h"
#include "phonebookrows.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <array>

namespace oxa {

// The configuration file *.oxa: single-byte text, one "name=value" line per record, CR LF after each.
//   ADMIN1..7, ABUTTON1..7, BBUTTON1..7, ALARMON, ALARMOFF   the edit boxes (always all 23 lines)
//   PARAMOXA, PARAMRL1, PARAMRL2                             the held parameter strings
//   then one line per phone-book row, in grid order
// Bytes are kept as they are; the window maps them 1:1 to characters (Latin-1).

// A SIM holds a few hundred entries; anything this large is not a configuration file, and loading it
// into the grid would stall the window.
inline constexpr qint64 kMaxConfigurationFileSize = 1024 * 1024;
inline constexpr int kMaxConfigurationLines = 10000;

struct ConfigurationContent {
    std::array<QByteArray, 23> editBoxValues; // in kEditBoxKeys order (ABUTTONn, not AABUTTONn)
    ParameterStrings strings;                 // as held, not encoded from the controls; PARKEY is not saved
    QList<PhoneBookRow> rows;
};

QByteArray buildConfigurationFile(const ConfigurationContent &content);

struct LoadedKeyValue {
    QByteArray key;   // the edit-box key as spelled in kEditBoxKeys, i.e. the box's object name
    QByteArray value; // the raw value; the box's filter and mirroring run when the window sets it
    friend bool operator==(const LoadedKeyValue &, const LoadedKeyValue &) = default;
};

struct LoadedParameter {
    ParameterString which;
    QByteArray value;
    friend bool operator==(const LoadedParameter &, const LoadedParameter &) = default;
};

// A key row after the first of its key: it stays a phone-book row, which a write to the unit stores as
// an entry of its own. Lines are counted from 1.
struct RepeatedKeyRow {
    QByteArray name; // as the file spells it
    int takenLine = 0;
    int line = 0;
    friend bool operator==(const RepeatedKeyRow &, const RepeatedKeyRow &) = default;
};

// What loading puts into the window. Rows are taken as key rows by name, letter case ignored, the first
// row of a name only; later rows of the same name stay phone-book rows.
struct ConfigurationLoad {
    QString error;                       // not empty: the file is refused and nothing is to be applied
    QList<LoadedKeyValue> editBoxValues; // the keys found, in kEditBoxKeys order
    // Parameter strings found, in the order PAROXA, PARRL1, PARRL2, PARKEY. A string is read from the
    // first row named either by its SIM key (PAROXA ...) or by its saved name (PARAMOXA ...).
    QList<LoadedParameter> parameters;
    QList<PhoneBookRow> rows;           // every other row, in file order: the new grid content
    QList<RepeatedKeyRow> repeatedKeys; // in file order; each is among `rows` too
};

inline constexpr QByteArrayView kUtf8Signature("\xEF\xBB\xBF");

// Lines end with CR LF, CR or LF; a last line without an ending counts, an empty tail does not. A UTF-8
// signature at the start of the file is no part of its first line.
// Returns false (and stops) once there are more than maxLines lines.
bool splitConfigurationLines(const QByteArray &bytes, QList<QByteArray> &lines,
                             int maxLines = kMaxConfigurationLines);

ConfigurationLoad parseConfiguration(const QByteArray &bytes);

// File access. Errors name the file; a failed save leaves an existing file as it was (a save that cannot
// make its temporary file beside the target fails instead of writing in place). Reading refuses a
// file that holds binary bytes and no key line at all (some other file chosen by mistake).
ConfigurationLoad readConfigurationFile(const QString &path);
QString writeConfigurationFile(const QString &path, const QByteArray &bytes); // empty on success

} // namespace oxa
