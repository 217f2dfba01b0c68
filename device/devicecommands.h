#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace oxa {

// The text field of a command that held a CR or LF. Such a field is refused, so that one field can
// never become two commands on the line.
enum class CommandField { None, Number, Name, FileName, CommandText };
QString commandFieldName(CommandField field); // "number", "name", "file name", "command"
bool hasLineBreak(QByteArrayView field);

// A command built from text fields: the line to send, or which field refused it.
struct Command {
    QByteArray line; // the whole line, "\r\n" included; empty when refused
    CommandField refused = CommandField::None;

    bool ok() const { return refused == CommandField::None; }
    // The line without its "\r\n", as the monitor shows a sent step.
    QByteArray logText() const { return line.chopped(line.endsWith("\r\n") ? 2 : 0); }
};

// The AT vocabulary. Integers are decimal without leading zeros; texts are inserted as they are,
// unquoted.
namespace at {

QByteArray echoOff();                // "ATE0\r\n"
QByteArray identify();               // "AT+CGMI\r\n"
QByteArray operatorName();           // "AT#SPN\r\n"
QByteArray echoOffOperatorName();    // "ATE0;#SPN\r\n"
QByteArray phoneBookRange();         // "AT+CPBR=?\r\n"
QByteArray readEntries(int simSize); // "AT+CPBR=1," + N + "\r\n"
QByteArray deleteEntry(int index);   // "AT+CPBW=" + index + "\r\n"
QByteArray attention();              // "AT\r\n"
QByteArray signalQuality();          // "AT+CSQ\r\n"
QByteArray serialNumber();           // "AT#CGSN\r\n"
QByteArray reboot();                 // "AT#REBOOT\r\n"
QByteArray selectDefaultScript();    // "AT#ESCRIPT=oxa.pyo\r\n"

// "AT+CPBW=" + index + "," + number + ",," + name + "\r\n"
Command writeEntry(int index, QByteArrayView number, QByteArrayView name);
// "AT+CPBW=," + number + ",," + name + "\r\n": the module takes the first free index.
Command writeNewEntry(QByteArrayView number, QByteArrayView name);

// Upload steps.
Command selectScript(QByteArrayView name);             // "AT#ESCRIPT=" + name + "\r\n"
Command writeScript(QByteArrayView name, qint64 size); // "AT#WSCRIPT=" + name + "," + size + "\r\n"
Command sendFile(QByteArrayView name, qint64 size);    // "AT#ASEND=" + name + "," + size + "\r\n"
Command deleteScript(QByteArrayView name);             // "AT#DSCRIPT=" + name + "\r\n"
Command freeCommand(QByteArrayView text);              // text + "\r\n"

} // namespace at

} // namespace oxa
