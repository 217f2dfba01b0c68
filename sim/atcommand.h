#pragma once

#include <QByteArray>
#include <QList>
#include <optional>

namespace oxa::sim {

// One command of an AT command line.
struct AtCommand {
    enum class Form {
        Basic,  // E0, &F, Z: letter (or "&" and letter) and an optional number in `args`
        Action, // +CSQ, #SPN
        Set,    // +CPBR=1,250: `args` is the text after "="
        Read,   // +CPBS?
        Test,   // +CPBR=?
    };

    Form form = Form::Action;
    QByteArray name; // upper case, with its prefix: "E", "&F", "+CPBR", "#WSCRIPT"
    QByteArray args;

    bool operator==(const AtCommand &) const = default;
};

// The commands of one line. `line` is everything received before CR; it must begin with "AT" (either
// case). Extended commands are separated by ";". The arguments of commands that carry free text (the
// phone-book write and the file commands) run to the end of the line, so that a name may hold any byte,
// ";" and "," included. nullopt: not a command line, or a malformed one.
std::optional<QList<AtCommand>> parseCommandLine(const QByteArray &line);

// True for lines that start with the "AT" prefix (either case).
bool hasAtPrefix(const QByteArray &line);

// One argument of a Set command.
struct AtArgument {
    QByteArray text; // without the quotes
    bool quoted = false;
    bool operator==(const AtArgument &) const = default;
};

// Splits arguments at the commas outside double quotes; blanks around an unquoted argument go.
QList<AtArgument> splitArguments(const QByteArray &args);

// A decimal integer without sign; nullopt for anything else, empty text included.
std::optional<int> parseNumber(const QByteArray &text);

} // namespace oxa::sim
