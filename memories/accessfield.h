#pragma once

#include "codepagecodec.h"
#include "memoryeditor.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <optional>
#include <utility>

namespace oxa {

// The access field of a code entry (the entry's number): relay digit, "#", mode digit, then for modes
// 1 to 4 "#" and the mode's fields, the last of which is the send-SMS flag.
//   0 normal        R#0
//   1 weekly        R#1#MoTuWeThFrSaSu#AA#S       1#1#1111100#05#0
//   2 date to date  R#2#MMDD#MMDD#S               2#2#0301#0615#1
//   3 date, access  R#3#MMDD#AA#S
//   4 hours         R#4#HH#HH#AA#S
constexpr int codeModeCount = 5;

// The kinds of drop-down list on the mode pages.
enum class CodeListKind { Access, Month, Day, Hour };

// Items: access "**","01".."99"; month "**","01".."12"; day "**","01".."31"; hour "00".."23","**".
// So a two-digit value's item index is its number in every list, and "**" is item 0, or 24 for hours.
QList<QByteArray> codeListItems(CodeListKind kind);
int starItem(CodeListKind kind);
// Item selected at start: "**" for access lists, "01" for all others.
int initialItem(CodeListKind kind);

// Setting a list from a value of the field: "**" selects the "**" item, any other value is read as a
// number and selects that item index; an index beyond the list selects nothing (empty text); a value
// that is not a number gives the conversion message (quoting it in `codec`) and selects nothing.
ListChoice chooseCodeListItem(CodeListKind kind, const QByteArray &value, const CodePageCodec &codec);

// The lists of the mode pages; each control's object name is its enumerator's name.
enum class CodeList {
    M1Acces,
    FromM2,
    FromD2,
    ToM2,
    ToD2,
    FromM3,
    FromD3,
    M3Acces,
    FromHours,
    ToHours,
    M4Acces
};
const char *codeListName(CodeList list);
CodeListKind codeListKind(CodeList list);
// The lists of a mode page in field order (none for mode 0).
QList<CodeList> codeListsOfMode(int mode);

// Object names of a mode page's controls, for mode 0..4.
QString codePageName(int mode);               // "M0".."M4", page index = mode
QString codeEditName(int mode);               // "CodeM0".."CodeM4"
QString codeLabelName(int mode);              // "LabelCodeM0".."LabelCodeM4"
QString relayButtonName(int mode, int relay); // "M0Rel1", "M0Rel2", ...
QString smsBoxName(int mode);                 // "M1SMS".."M4SMS" (modes 1-4)
QString writeCodeButtonName(int mode);        // "WriteCode0".."WriteCode4"
// The day boxes of the weekly page, Monday first: Po, Ut, St, Ct, Pa, So, Ne.
QList<QString> dayBoxNames();

// Preview of the code entry a write would produce: "(C" + code + "C)"; "C" before the first edit.
QByteArray codePreviewLabel(const QByteArray &code);
QByteArray initialCodeLabel();

// "1" for the first relay button, "2" for the second, "0" for neither.
QByteArray relayDigit(bool firstRelay, bool secondRelay);

// What a mode page holds; only the fields of `mode` are written, list texts exactly as shown.
struct CodePage {
    int mode = 0;
    bool firstRelay = false;
    bool secondRelay = false;
    std::array<bool, 7> days{}; // mode 1, Monday first
    QByteArray access;          // modes 1, 3, 4: M1Acces, M3Acces, M4Acces
    QByteArray fromMonth;       // modes 2, 3: FromM2, FromM3
    QByteArray fromDay;         // modes 2, 3: FromD2, FromD3
    QByteArray toMonth;         // mode 2: ToM2
    QByteArray toDay;           // mode 2: ToD2
    QByteArray fromHour;        // mode 4: FromHours
    QByteArray toHour;          // mode 4: ToHours
    bool sms = false;           // modes 1-4
};
QByteArray encodeAccessField(const CodePage &page);

// A code node decoded into its page, to be applied in this order:
//   page -> ModeCode (-1: show no page); code -> the page's code box; relay -> that relay button on;
//   days -> Po..Ne; lists -> each list, in order; sms -> the page's SMS box;
//   then, when error is not empty, show it once.
// A step that was not reached is empty; with no page at all nothing else is set.
struct DecodedCode {
    std::optional<int> page; // 0-4, or -1 for a mode above 4; empty when the mode is not a number
    std::optional<QByteArray> code;
    int relay = 0; // 1 or 2; 0 leaves both relay buttons as they are
    std::optional<std::array<bool, 7>> days;
    QList<std::pair<CodeList, ListChoice>> lists;
    std::optional<bool> sms;
    QString error;
};
// Messages quote the node's bytes as `codec` shows them.
DecodedCode decodeCodeNode(const QByteArray &nodeText, const CodePageCodec &codec);

} // namespace oxa
