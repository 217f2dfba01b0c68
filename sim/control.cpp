#include "control.h"

namespace oxa::sim {

ControlLine parseControlLine(const QByteArray &line) {
    const QByteArray text = line.simplified();
    ControlLine control;
    const qsizetype space = text.indexOf(' ');
    const QByteArray word = (space < 0 ? text : text.left(space)).toLower();
    const QByteArray rest = space < 0 ? QByteArray() : text.mid(space + 1);
    if (text.isEmpty())
        return control;
    if (word == "dtr" && (rest == "1" || rest == "0")) {
        control.kind = ControlLine::Kind::Dtr;
        control.dtr = rest == "1";
        return control;
    }
    if (word == "fault") {
        QString error;
        if (const std::optional<Fault> fault = parseFault(rest, &error)) {
            control.kind = ControlLine::Kind::Fault;
            control.fault = *fault;
        } else {
            control.kind = ControlLine::Kind::Invalid;
            control.error = error;
        }
        return control;
    }
    if (rest.isEmpty()) {
        if (word == "dump")
            control.kind = ControlLine::Kind::Dump;
        else if (word == "files")
            control.kind = ControlLine::Kind::Files;
        else if (word == "state")
            control.kind = ControlLine::Kind::State;
        else if (word == "reboot")
            control.kind = ControlLine::Kind::Reboot;
        else if (word == "help")
            control.kind = ControlLine::Kind::Help;
        else if (word == "quit")
            control.kind = ControlLine::Kind::Quit;
        if (control.kind != ControlLine::Kind::Empty)
            return control;
    }
    control.kind = ControlLine::Kind::Invalid;
    control.error = QStringLiteral("unknown control line \"%1\"; try help").arg(QString::fromLatin1(text));
    return control;
}

QByteArray controlHelp() {
    return "dtr 1 | dtr 0          raise or lower the DTR line\n"
           "dump                   every used SIM entry as index,number,name, then end\n"
           "files                  the module's files as name,size, then end\n"
           "state                  script state, DTR and echo\n"
           "fault " +
           faultUsage().toLatin1() +
           "\n"
           "reboot                 restart the module\n"
           "quit                   end the simulator\n";
}

QByteArray dumpText(const SimCard &sim) {
    QByteArray text;
    for (const IndexedEntry &used : sim.usedEntries())
        text += QByteArray::number(used.index) + ',' + used.entry.number + ',' + used.entry.name + '\n';
    return text + "end\n";
}

QByteArray filesText(const FileStore &files) {
    QByteArray text;
    for (const QByteArray &name : files.names())
        text += name + ',' + QByteArray::number(files.file(name)->size()) + '\n';
    return text + "end\n";
}

QByteArray stateText(const Unit &unit) {
    QByteArray script;
    switch (unit.scriptState()) {
    case ScriptState::Rebooting:
        script = "rebooting";
        break;
    case ScriptState::Running:
        script = "running";
        break;
    case ScriptState::Stopping:
        script = "stopping";
        break;
    case ScriptState::Stopped:
        script = "stopped";
        break;
    }
    return "script " + script + " dtr " + QByteArray::number(unit.dtr()) + " echo " +
           QByteArray::number(unit.echo()) + " variant " +
           (unit.variant() == Variant::Lte ? "lte" : "classic") + '\n';
}

} // namespace oxa::sim
