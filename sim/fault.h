#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace oxa::sim {

// A fault the unit is told to show, from an option or a control line such as "error 3".
struct Fault {
    enum class Kind {
        Error,    // the next `count` command lines are answered "ERROR" and not carried out
        CmeError, // likewise with "+CME ERROR: <code>"
        Silent,   // the next `count` command lines get no answer at all and are not carried out
        Garbage,  // `count` bytes of noise, at once
        Endless,  // a line without end: bytes without CR until cleared (count 0) or `count` bytes
        HangUp,   // the line goes away
        Clear,    // back to normal: pending command faults and an endless line end
    };

    Kind kind = Kind::Clear;
    int count = 1;
    int code = 0;

    bool operator==(const Fault &) const = default;
};

// Parses "error [N]", "cme CODE [N]", "silent [N]", "garbage [N]", "endless [N]", "hangup", "clear".
// nullopt and `error` set for anything else.
std::optional<Fault> parseFault(const QByteArray &text, QString *error = nullptr);

// Usage text for the forms above.
QString faultUsage();

} // namespace oxa::sim
