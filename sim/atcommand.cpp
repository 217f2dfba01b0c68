#include "atcommand.h"

namespace oxa::sim {

namespace {

bool isExtendedPrefix(char c) {
    return c == '+' || c == '#' || c == '$';
}

bool isNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '!' ||
           c == '%' || c == '-' || c == '.' || c == '/' || c == ':' || c == '_';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Commands whose last argument is free text taken to the end of the line.
bool takesRestOfLine(const QByteArray &name) {
    return name == "+CPBW" || name == "+CPBF" || name == "#WSCRIPT" || name == "#ASEND" ||
           name == "#ESCRIPT" || name == "#DSCRIPT";
}

// End of the arguments of a Set command starting at `from`: the next ";" outside quotes.
qsizetype argumentsEnd(const QByteArray &line, qsizetype from) {
    bool quoted = false;
    for (qsizetype i = from; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ';' && !quoted)
            return i;
    }
    return line.size();
}

} // namespace

bool hasAtPrefix(const QByteArray &line) {
    return line.size() >= 2 && (line[0] == 'A' || line[0] == 'a') && (line[1] == 'T' || line[1] == 't');
}

std::optional<QList<AtCommand>> parseCommandLine(const QByteArray &line) {
    if (!hasAtPrefix(line))
        return std::nullopt;
    QList<AtCommand> commands;
    qsizetype pos = 2;
    while (pos < line.size()) {
        const char c = line[pos];
        if (c == ';' || c == ' ') {
            ++pos;
            continue;
        }
        AtCommand command;
        if (isExtendedPrefix(c)) {
            qsizetype end = pos + 1;
            while (end < line.size() && isNameChar(line[end]))
                ++end;
            if (end == pos + 1)
                return std::nullopt;
            command.name = line.mid(pos, end - pos).toUpper();
            pos = end;
            if (line.mid(pos, 2) == "=?") {
                command.form = AtCommand::Form::Test;
                pos += 2;
            } else if (pos < line.size() && line[pos] == '=') {
                command.form = AtCommand::Form::Set;
                const qsizetype argsEnd =
                    takesRestOfLine(command.name) ? line.size() : argumentsEnd(line, pos + 1);
                command.args = line.mid(pos + 1, argsEnd - pos - 1);
                pos = argsEnd;
            } else if (pos < line.size() && line[pos] == '?') {
                command.form = AtCommand::Form::Read;
                ++pos;
            } else {
                command.form = AtCommand::Form::Action;
            }
            // Anything but the separator or the end after an extended command is malformed.
            if (pos < line.size() && line[pos] != ';')
                return std::nullopt;
        } else if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '&') {
            command.form = AtCommand::Form::Basic;
            qsizetype end = pos + 1;
            if (c == '&') {
                if (end >= line.size() ||
                    !((line[end] >= 'A' && line[end] <= 'Z') || (line[end] >= 'a' && line[end] <= 'z')))
                    return std::nullopt;
                ++end;
            }
            command.name = line.mid(pos, end - pos).toUpper();
            qsizetype digitsEnd = end;
            while (digitsEnd < line.size() && isDigit(line[digitsEnd]))
                ++digitsEnd;
            command.args = line.mid(end, digitsEnd - end);
            pos = digitsEnd;
        } else {
            return std::nullopt;
        }
        commands.append(command);
    }
    return commands;
}

QList<AtArgument> splitArguments(const QByteArray &args) {
    QList<AtArgument> result;
    AtArgument current;
    QByteArray raw;
    bool inQuotes = false;
    auto finish = [&] {
        const QByteArray trimmed = raw.trimmed();
        if (trimmed.size() >= 2 && trimmed.startsWith('"') && trimmed.endsWith('"'))
            result.append({trimmed.mid(1, trimmed.size() - 2), true});
        else
            result.append({trimmed, false});
        raw.clear();
    };
    for (const char c : args) {
        if (c == '"')
            inQuotes = !inQuotes;
        if (c == ',' && !inQuotes) {
            finish();
            continue;
        }
        raw.append(c);
    }
    finish();
    return result;
}

std::optional<int> parseNumber(const QByteArray &text) {
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (!isDigit(c))
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace oxa::sim
