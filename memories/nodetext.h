#pragma once

#include <QByteArray>
#include <QString>

namespace oxa {

// A tagged entry lives in the program only as the text of a tree node:
//   index + ":" + name + "[" + number + "]"      e.g. 7:M12-1[555], 15:C246C[2#0]
// Every field is taken back from that text by the positions of its marker characters. Memories and
// codes are digits and telephone numbers hold none of ":-[]", so the markers are unambiguous for entries
// the program writes; for anything else a field whose markers are missing or out of order is empty.
// All texts are bytes, exactly as read from the SIM.

QByteArray nodeText(const QByteArray &index, const QByteArray &name, const QByteArray &number);

// Before the first ":", blanks trimmed.
QByteArray nodeIndex(const QByteArray &text);
// Between the first ":" and the first "[" (the sort key of the trees).
QByteArray nodeName(const QByteArray &text);
// Between the first "[" and the first "]".
QByteArray nodeNumber(const QByteArray &text);
// After ":" + tag (":M" or ":B") up to, not including, the first "-".
QByteArray nodeMemory(const QByteArray &text, char tag);
// The one character right after the first "-" (empty when there is none).
QByteArray nodePosition(const QByteArray &text);
// What follows the first ":" up to and including the next "-" (M12- for 4:M12-1[555]); empty without "-".
QByteArray nodeMemoryPrefix(const QByteArray &text);
// After ":C" up to, not including, the first "C[".
QByteArray nodeCode(const QByteArray &text);
// After the first "C[" up to the "]" that closes it.
QByteArray nodeAccessField(const QByteArray &text);

// Removes blanks and control characters (bytes up to 0x20) at both ends.
QByteArray trimBlanks(const QByteArray &text);

// The input filter of the code and memory-name boxes: trimmed, cut before the first character that is
// not a decimal digit, at most 15 characters (12a34 -> 12, a12 -> empty).
QByteArray digitFilter(const QByteArray &text);
QString digitFilter(const QString &text);

} // namespace oxa
