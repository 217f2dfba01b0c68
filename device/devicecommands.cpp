#include "devicecommands.h"

#include <initializer_list>
#include <utility>

namespace oxa {

QString commandFieldName(CommandField field) {
    switch (field) {
    case CommandField::Number:
        return QStringLiteral("number");
    case CommandField::Name:
        return QStringLiteral("name");
    case CommandField::FileName:
        return QStringLiteral("file name");
    case CommandField::CommandText:
        return QStringLiteral("command");
    case CommandField::None:
        break;
    }
    return QString();
}

bool hasLineBreak(QByteArrayView field) {
    return field.contains('\r') || field.contains('\n');
}

namespace at {

namespace {

const QByteArrayView Crlf("\r\n");

QByteArray line(QByteArrayView text) {
    QByteArray result;
    result.reserve(text.size() + 2);
    result.append(text).append(Crlf);
    return result;
}

// Joins the pieces into one command line, unless a text field holds a line break.
Command build(std::initializer_list<std::pair<CommandField, QByteArrayView>> pieces) {
    Command command;
    qsizetype size = 2;
    for (const auto &[field, text] : pieces) {
        if (field != CommandField::None && hasLineBreak(text)) {
            command.refused = field;
            return command;
        }
        size += text.size();
    }
    command.line.reserve(size);
    for (const auto &piece : pieces)
        command.line.append(piece.second);
    command.line.append(Crlf);
    return command;
}

constexpr auto Literal = CommandField::None;

} // namespace

QByteArray echoOff() {
    return line("ATE0");
}
QByteArray identify() {
    return line("AT+CGMI");
}
QByteArray operatorName() {
    return line("AT#SPN");
}
QByteArray echoOffOperatorName() {
    return line("ATE0;#SPN");
}
QByteArray phoneBookRange() {
    return line("AT+CPBR=?");
}
QByteArray readEntries(int simSize) {
    return line("AT+CPBR=1," + QByteArray::number(simSize));
}
QByteArray deleteEntry(int index) {
    return line("AT+CPBW=" + QByteArray::number(index));
}
QByteArray attention() {
    return line("AT");
}
QByteArray signalQuality() {
    return line("AT+CSQ");
}
QByteArray serialNumber() {
    return line("AT#CGSN");
}
QByteArray reboot() {
    return line("AT#REBOOT");
}
QByteArray selectDefaultScript() {
    return line("AT#ESCRIPT=oxa.pyo");
}

Command writeEntry(int index, QByteArrayView number, QByteArrayView name) {
    const QByteArray indexText = QByteArray::number(index);
    return build({{Literal, "AT+CPBW="},
                  {Literal, indexText},
                  {Literal, ","},
                  {CommandField::Number, number},
                  {Literal, ",,"},
                  {CommandField::Name, name}});
}

Command writeNewEntry(QByteArrayView number, QByteArrayView name) {
    return build({{Literal, "AT+CPBW=,"},
                  {CommandField::Number, number},
                  {Literal, ",,"},
                  {CommandField::Name, name}});
}

Command selectScript(QByteArrayView name) {
    return build({{Literal, "AT#ESCRIPT="}, {CommandField::FileName, name}});
}

Command writeScript(QByteArrayView name, qint64 size) {
    const QByteArray sizeText = QByteArray::number(size);
    return build(
        {{Literal, "AT#WSCRIPT="}, {CommandField::FileName, name}, {Literal, ","}, {Literal, sizeText}});
}

Command sendFile(QByteArrayView name, qint64 size) {
    const QByteArray sizeText = QByteArray::number(size);
    return build(
        {{Literal, "AT#ASEND="}, {CommandField::FileName, name}, {Literal, ","}, {Literal, sizeText}});
}

Command deleteScript(QByteArrayView name) {
    return build({{Literal, "AT#DSCRIPT="}, {CommandField::FileName, name}});
}

Command freeCommand(QByteArrayView text) {
    return build({{CommandField::CommandText, text}});
}

} // namespace at

} // namespace oxa
