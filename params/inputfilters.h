#pragma once

#include <QString>

namespace oxa {

// Input filters of the settings edit boxes. Each maps a box's text to the text it may hold; applying a
// filter to its own result changes nothing, so the change handler that writes the result back runs at
// most once more. Rejected characters are dropped together with everything after them.

// Telephone numbers: "0123456789+*#", at most 20 characters. A single character is left as it is, so
// that a box can be typed into one character at a time (a lone letter stays until the next keystroke).
QString phoneNumberFilter(const QString &text);
// Relay switching code: one digit, the last one of the accepted part ("58" -> "8", "x" -> "0").
// A text that is empty after trimming stays empty.
QString relayCodeFilter(const QString &text);
// Relay switching time: two digits "01" ... "99", the last two of the accepted part ("123" -> "23",
// "4" -> "04", "00" -> "01"). A text that is empty after trimming stays empty.
QString relayTimeFilter(const QString &text);

// Leading and trailing blanks and control characters (code 32 and below) removed.
QString trimBlanksAndControls(const QString &text);

enum class BoxFilter { None, PhoneNumber, RelayCode, RelayTime };

// Which filter the edit box with this object name uses: ADMIN1..7, ABUTTON1..7, AABUTTON1..7, BBUTTON1..7,
// MemoPNumber and ButtonPNumber take phone numbers; RelCode1/2 and RelTime1/2 the relay filters.
BoxFilter boxFilter(const QString &objectName);
QString applyBoxFilter(BoxFilter filter, const QString &text);

// The box that mirrors this one: "AABUTTONn" <-> "ABUTTONn" (n = 1..7); empty for every other box.
QString mirroredBox(const QString &objectName);

} // namespace oxa
