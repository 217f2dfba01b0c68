#include "unit.h"

#include "clock.h"
#include "defaultsim.h"

#include <QDateTime>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace oxa::sim {

namespace {

constexpr qsizetype MaxCommandLine = 2048;
const QByteArray Crlf = QByteArrayLiteral("\r\n");

qint64 ms(qint64 milliseconds) {
    return milliseconds * NsPerMs;
}
qint64 us(qint64 microseconds) {
    return microseconds * 1000;
}

// What the module answers for a code in verbose error mode (AT+CMEE=2).
QByteArray cmeDescription(int code) {
    switch (code) {
    case 3:
        return "operation not allowed";
    case 4:
        return "operation not supported";
    case 20:
        return "memory full";
    case 21:
        return "invalid index";
    case 22:
        return "not found";
    case 24:
        return "text string too long";
    case 25:
        return "invalid characters in text string";
    case 26:
        return "dial string too long";
    default:
        return "unknown";
    }
}

QByteArray unquoted(const QByteArray &text) {
    const QByteArray trimmed = text.trimmed();
    if (trimmed.size() >= 2 && trimmed.startsWith('"') && trimmed.endsWith('"'))
        return trimmed.mid(1, trimmed.size() - 2);
    return text;
}

// The placeholder for the device script in the module's file store.
QByteArray deviceScriptBytes() {
    QByteArray bytes("\x03\xf3\x0d\x0a", 4);
    bytes.append("oxa device script");
    return bytes;
}

} // namespace

Unit::Unit(const UnitOptions &options)
    : m_options(options), m_sim(options.simSize), m_cmee(options.cmeeMode), m_text(options.codePage),
      m_serviceCentre(options.identity.serviceCentre) {
    m_out.setBitsPerSecond(options.timing.lineBitsPerSecond);
    const QList<IndexedEntry> content =
        options.simContent ? *options.simContent : defaultSimContent(options.variant, options.simSize);
    for (const IndexedEntry &entry : content)
        m_sim.write(entry.index, entry.entry);
    m_files.store("oxa.pyo", deviceScriptBytes());
    m_files.setStartScript("oxa.pyo");
    if (options.startRunning) {
        m_script = ScriptState::Running;
        scheduleStatus(ms(options.timing.firstStatusMs));
    }
}

// ---- time --------------------------------------------------------------------------------------

void Unit::schedule(qint64 at, std::function<void()> action) {
    m_events.emplace(std::max(at, m_now), std::move(action));
}

void Unit::advanceTo(qint64 nowNs) {
    for (;;) {
        qint64 next = std::numeric_limits<qint64>::max();
        if (!m_events.empty())
            next = m_events.begin()->first;
        if (!m_inbox.isEmpty() && m_busyUntil > m_now)
            next = std::min(next, m_busyUntil);
        if (next > nowNs)
            break;
        m_now = std::max(m_now, next);
        if (!m_events.empty() && m_events.begin()->first <= m_now) {
            auto action = std::move(m_events.begin()->second);
            m_events.erase(m_events.begin());
            action();
        }
        processInput();
    }
    m_now = std::max(m_now, nowNs);
    processInput();
    topUpEndless();
}

std::optional<qint64> Unit::nextEventNs() const {
    std::optional<qint64> next;
    auto consider = [&next](qint64 at) { next = next ? std::min(*next, at) : at; };
    if (!m_events.empty())
        consider(m_events.begin()->first);
    if (!m_inbox.isEmpty() && m_busyUntil > m_now)
        consider(m_busyUntil);
    if (const auto arrival = m_out.nextArrivalNs())
        consider(*arrival);
    if (m_endlessLeft != 0 && m_out.bitsPerSecond() == 0)
        consider(m_now);
    return next;
}

// ---- line --------------------------------------------------------------------------------------

void Unit::receive(const QByteArray &bytes) {
    m_inbox.append(bytes);
    processInput();
}

QByteArray Unit::takeOutput() {
    topUpEndless();
    return m_out.take(m_now);
}

bool Unit::takeHangUp() {
    return std::exchange(m_hangUp, false);
}

void Unit::emitBytes(const QByteArray &bytes, qint64 at) {
    if (m_endlessLeft != 0) {
        m_held.append(bytes);
        return;
    }
    m_out.push(bytes, at);
}

void Unit::scriptLine(const QByteArray &line, qint64 at) {
    emitBytes(line + Crlf, at);
}

void Unit::info(Reply &reply, const QByteArray &line) {
    emitBytes((reply.firstInfo ? QByteArray(Crlf) : QByteArray()) + line + Crlf, reply.at);
    reply.firstInfo = false;
}

QByteArray Unit::cmeText(int code) const {
    if (m_cmee == 0)
        return "ERROR";
    if (m_cmee == 2)
        return "+CME ERROR: " + cmeDescription(code);
    return "+CME ERROR: " + QByteArray::number(code);
}

void Unit::finalResult(Reply &reply, const Result &result) {
    switch (result.final) {
    case Final::Ok:
        emitBytes("\r\nOK\r\n", reply.at);
        break;
    case Final::Error:
        emitBytes("\r\nERROR\r\n", reply.at);
        break;
    case Final::Cme:
        emitBytes(Crlf + cmeText(result.cme) + Crlf, reply.at);
        break;
    case Final::Prompt:
    case Final::None:
        break;
    }
}

void Unit::processInput() {
    qsizetype pos = 0;
    QByteArray echoed;
    auto flushEcho = [&] {
        if (!echoed.isEmpty())
            emitBytes(echoed, m_now);
        echoed.clear();
    };
    while (pos < m_inbox.size() && m_now >= m_busyUntil) {
        if (!takesCommands()) {
            // The script owns the line (or the module restarts): what comes in is lost.
            pos = m_inbox.size();
            break;
        }
        if (m_data) {
            // The line end after the command that asked for the prompt is not file data: the module
            // drops a LF that arrives before its prompt has gone out.
            if (m_data->received.isEmpty() && m_inbox[pos] == '\n' &&
                m_out.takenTotal() < m_data->promptEnd) {
                ++pos;
                continue;
            }
            const qsizetype count =
                std::min<qsizetype>(m_data->size - m_data->received.size(), m_inbox.size() - pos);
            m_data->received.append(m_inbox.constData() + pos, count);
            pos += count;
            if (m_data->received.size() == m_data->size)
                completeData();
            continue;
        }
        const char c = m_inbox[pos++];
        if (c == '\r') {
            if (m_echo)
                echoed.append(c);
            flushEcho();
            const QByteArray line = std::exchange(m_line, {});
            runLine(line);
            continue;
        }
        if (c == '\n' && m_line.isEmpty())
            continue;
        if (m_line.size() < MaxCommandLine)
            m_line.append(c);
        else
            m_lineOverflow = true;
        if (m_echo)
            echoed.append(c);
    }
    flushEcho();
    m_inbox.remove(0, pos);
}

void Unit::runLine(const QByteArray &line) {
    Reply reply{m_now};
    if (std::exchange(m_lineOverflow, false)) {
        finalResult(reply, Result::error());
        return;
    }
    // Noise between command lines is ignored, as by any modem.
    if (!hasAtPrefix(line))
        return;
    if (!m_commandFaults.empty()) {
        const Result fault = m_commandFaults.front();
        m_commandFaults.pop_front();
        if (fault.final == Final::Cme)
            emitBytes("\r\n+CME ERROR: " + QByteArray::number(fault.cme) + Crlf, reply.at);
        else
            finalResult(reply, fault);
        return;
    }
    const std::optional<QList<AtCommand>> commands = parseCommandLine(line);
    if (!commands) {
        finalResult(reply, Result::error());
        return;
    }
    Result result;
    bool echoSwitchedOff = false;
    bool rebootRequested = false;
    for (const AtCommand &command : *commands) {
        reply.firstInfo = true;
        result = execute(command, reply);
        if (result.final != Final::Ok)
            break;
        if (command.form == AtCommand::Form::Basic && command.name == "E" && !m_echo)
            echoSwitchedOff = true;
        if (command.name == "#REBOOT")
            rebootRequested = true;
    }
    finalResult(reply, result);
    m_busyUntil = reply.at;
    if (result.final != Final::Ok)
        return;
    if (rebootRequested || reply.restart) {
        schedule(reply.at, [this] { startBoot(); });
        return;
    }
    // The stopping script lights its LED once the program has switched echo off.
    if (echoSwitchedOff && m_script == ScriptState::Stopping) {
        schedule(reply.at + ms(m_options.timing.sledLineMs), [this] {
            if (m_script != ScriptState::Stopping)
                return;
            scriptLine("[AT#SLED=1]=", m_now);
            m_script = ScriptState::Stopped;
        });
    }
}

// ---- commands ----------------------------------------------------------------------------------

Unit::Result Unit::execute(const AtCommand &command, Reply &reply) {
    using Form = AtCommand::Form;
    if (command.form == Form::Basic)
        return executeBasic(command, reply);

    const QByteArray &name = command.name;
    const Identity &id = m_options.identity;
    const bool lte = m_options.variant == Variant::Lte;
    auto plainInfo = [&](const QByteArray &text) {
        if (command.form == Form::Test)
            return Result::ok();
        if (command.form != Form::Action)
            return Result::error();
        info(reply, text);
        return Result::ok();
    };

    if (name == "+CGMI" || name == "+GMI")
        return plainInfo(id.manufacturer);
    if (name == "+CGMM" || name == "+GMM")
        return plainInfo(!id.model.isEmpty() ? id.model : QByteArray(lte ? "LE910C1-EUX" : "GL865-DUAL V3"));
    if (name == "+CGMR" || name == "+GMR")
        return plainInfo(!id.revision.isEmpty() ? id.revision : QByteArray(lte ? "25.30.226" : "16.01.307"));
    if (name == "+CGSN" || name == "+GSN")
        return plainInfo(id.imei);
    if (name == "+CIMI")
        return plainInfo(id.imsi);
    if (name == "#CGSN")
        return plainInfo("#CGSN: " + id.imei);
    if (name == "#SPN")
        return plainInfo("#SPN: " + id.operatorName);
    if (name == "#CBC")
        return plainInfo("#CBC: 0," + QByteArray::number(id.batteryCentiVolts));
    if (name == "+CSQ") {
        if (command.form == Form::Test) {
            info(reply, "+CSQ: (0-31,99),(0-7,99)");
            return Result::ok();
        }
        return plainInfo("+CSQ: " + QByteArray::number(id.signal) + ",0");
    }
    if (name == "#REBOOT")
        return command.form == Form::Action || command.form == Form::Test ? Result::ok() : Result::error();
    if (name == "+CMEE") {
        if (command.form == Form::Read) {
            info(reply, "+CMEE: " + QByteArray::number(m_cmee));
            return Result::ok();
        }
        if (command.form == Form::Test) {
            info(reply, "+CMEE: (0-2)");
            return Result::ok();
        }
        const std::optional<int> mode =
            command.form == Form::Set ? parseNumber(command.args.trimmed()) : std::nullopt;
        if (!mode || *mode > 2)
            return Result::error();
        m_cmee = *mode;
        return Result::ok();
    }
    if (name == "+CREG") {
        if (command.form == Form::Read) {
            info(reply, "+CREG: 0,1");
            return Result::ok();
        }
        if (command.form == Form::Test) {
            info(reply, "+CREG: (0-2)");
            return Result::ok();
        }
        const std::optional<int> mode =
            command.form == Form::Set ? parseNumber(command.args.trimmed()) : std::nullopt;
        return mode && *mode <= 2 ? Result::ok() : Result::error();
    }
    if (name == "+COPS") {
        if (command.form == Form::Read) {
            info(reply, "+COPS: 0,0,\"" + id.operatorName + "\"");
            return Result::ok();
        }
        return command.form == Form::Action ? Result::error() : Result::ok();
    }
    if (name == "#SLED") {
        if (command.form == Form::Read) {
            info(reply, "#SLED: " + QByteArray::number(m_sled));
            return Result::ok();
        }
        if (command.form == Form::Test) {
            info(reply, "#SLED: (0-4)");
            return Result::ok();
        }
        const std::optional<int> mode =
            command.form == Form::Set ? parseNumber(command.args.trimmed()) : std::nullopt;
        if (!mode || *mode > 4)
            return Result::error();
        m_sled = *mode;
        return Result::ok();
    }
    if (name == "+CSCS")
        return characterSet(command, reply);
    if (name == "+CFUN")
        return functionality(command, reply);
    // No call to hang up: nothing to do, as the standard has it.
    if (name == "+CHUP")
        return command.form == Form::Action || command.form == Form::Test ? Result::ok() : Result::error();
    if (name == "+CCLK")
        return clock(command, reply);
    if (name == "+CSCA")
        return serviceCentre(command, reply);
    if (name == "+CPBS")
        return phoneBookStorage(command, reply);
    if (name == "+CPBR")
        return phoneBookRead(command, reply);
    if (name == "+CPBW")
        return phoneBookWrite(command, reply);
    if (name == "+CPBF")
        return phoneBookFind(command, reply);
    if (name == "#ESCRIPT" || name == "#WSCRIPT" || name == "#ASEND" || name == "#DSCRIPT" ||
        name == "#LSCRIPT")
        return fileCommand(command, reply);
    return Result::error();
}

Unit::Result Unit::executeBasic(const AtCommand &command, Reply &reply) {
    const QByteArray &name = command.name;
    const QByteArray &value = command.args;
    const bool zero = value.isEmpty() || value == "0";
    if (name == "E") {
        if (!zero && value != "1")
            return Result::error();
        m_echo = value == "1";
        return Result::ok();
    }
    if (name == "Z" || name == "&F") {
        if (!zero)
            return Result::error();
        m_echo = true;
        m_cmee = m_options.cmeeMode;
        m_charset = "IRA";
        return Result::ok();
    }
    if (name == "V")
        return value.isEmpty() || value == "1" ? Result::ok() : Result::error();
    if (name == "Q")
        return zero ? Result::ok() : Result::error();
    if (name == "I") {
        if (!zero)
            return Result::error();
        info(reply, m_options.identity.manufacturer);
        return Result::ok();
    }
    return Result::error();
}

Unit::Result Unit::simStatus(SimCard::Status status) const {
    switch (status) {
    case SimCard::Status::Ok:
        return Result::ok();
    case SimCard::Status::InvalidIndex:
        return Result::cmeError(21);
    case SimCard::Status::NumberTooLong:
        return Result::cmeError(26);
    case SimCard::Status::NameTooLong:
        return Result::cmeError(24);
    case SimCard::Status::Full:
        return Result::cmeError(20);
    }
    return Result::error();
}

QByteArray Unit::entryLine(const QByteArray &prefix, int index, const SimEntry &entry) const {
    // The number is not converted: it is a dial string, not text (27.007 converts <text> only).
    const QByteArray name = m_text.present(entry.name, m_charset);
    return prefix + QByteArray::number(index) + ",\"" + entry.number + "\"," +
           QByteArray::number(entry.type) + ",\"" + name + "\"";
}

Unit::Result Unit::phoneBookRead(const AtCommand &command, Reply &reply) {
    if (command.form == AtCommand::Form::Test) {
        info(reply, "+CPBR: (1-" + QByteArray::number(m_sim.size()) + ")," +
                        QByteArray::number(SimCard::NumberLength) + "," +
                        QByteArray::number(SimCard::NameLength));
        return Result::ok();
    }
    if (command.form != AtCommand::Form::Set)
        return Result::error();
    const QList<AtArgument> args = splitArguments(command.args);
    if (args.size() > 2)
        return Result::error();
    const std::optional<int> first = parseNumber(args[0].text);
    const std::optional<int> last = args.size() == 2 ? parseNumber(args[1].text) : first;
    if (!first || !last)
        return Result::error();
    if (!m_sim.isValidIndex(*first) || !m_sim.isValidIndex(*last) || *first > *last)
        return Result::cmeError(21);
    for (int index = *first; index <= *last; ++index) {
        reply.at += us(m_options.timing.simReadLatencyUs);
        if (const std::optional<SimEntry> entry = m_sim.entry(index))
            info(reply, entryLine("+CPBR: ", index, *entry));
    }
    return Result::ok();
}

Unit::Result Unit::phoneBookWrite(const AtCommand &command, Reply &reply) {
    if (command.form == AtCommand::Form::Test) {
        info(reply, "+CPBW: (1-" + QByteArray::number(m_sim.size()) + ")," +
                        QByteArray::number(SimCard::NumberLength) + ",(129,145)," +
                        QByteArray::number(SimCard::NameLength));
        return Result::ok();
    }
    if (command.form != AtCommand::Form::Set)
        return Result::error();

    // [index][,number[,type[,text]]]: number and text quoted as the standard has it, or bare as the
    // configuration program sends them; a bare text runs to the end of the line.
    const QByteArray &a = command.args;
    const qsizetype comma = a.indexOf(',');
    const QByteArray indexText = (comma < 0 ? a : a.left(comma)).trimmed();
    std::optional<int> index;
    if (!indexText.isEmpty()) {
        index = parseNumber(indexText);
        if (!index)
            return Result::error();
    }
    if (comma < 0) {
        if (!index)
            return Result::error();
        reply.at += us(m_options.timing.simWriteLatencyUs);
        return simStatus(m_sim.erase(*index));
    }

    qsizetype pos = comma + 1;
    QByteArray number;
    if (pos < a.size() && a[pos] == '"') {
        const qsizetype close = a.indexOf('"', pos + 1);
        if (close < 0)
            return Result::error();
        number = a.mid(pos + 1, close - pos - 1);
        pos = close + 1;
        if (pos < a.size() && a[pos] != ',')
            return Result::error();
    } else {
        qsizetype next = a.indexOf(',', pos);
        if (next < 0)
            next = a.size();
        number = a.mid(pos, next - pos);
        pos = next;
    }

    std::optional<int> type;
    if (pos < a.size()) {
        ++pos;
        qsizetype next = a.indexOf(',', pos);
        if (next < 0)
            next = a.size();
        const QByteArray typeText = a.mid(pos, next - pos).trimmed();
        if (!typeText.isEmpty()) {
            type = parseNumber(typeText);
            if (!type || *type > 255)
                return Result::error();
        }
        pos = next;
    }

    QByteArray text;
    if (pos < a.size()) {
        text = a.mid(pos + 1);
        if (text.startsWith('"')) {
            const qsizetype close = text.indexOf('"', 1);
            if (close < 0)
                return Result::error();
            text = text.mid(1, close - 1);
        }
        const ModuleCharset::Stored stored = m_text.store(text, m_charset);
        if (stored.refusal == ModuleCharset::Refusal::Malformed)
            return Result::error();
        if (stored.refusal == ModuleCharset::Refusal::InvalidCharacters)
            return Result::cmeError(25);
        text = stored.bytes;
    }

    reply.at += us(m_options.timing.simWriteLatencyUs);
    if (number.isEmpty() && text.isEmpty()) {
        if (!index)
            return Result::error();
        return simStatus(m_sim.erase(*index));
    }
    const SimEntry entry{number, text, type.value_or(SimEntry::typeOf(number))};
    return simStatus(index ? m_sim.write(*index, entry) : m_sim.writeFirstFree(entry));
}

Unit::Result Unit::phoneBookFind(const AtCommand &command, Reply &reply) {
    if (command.form == AtCommand::Form::Test) {
        info(reply, "+CPBF: " + QByteArray::number(SimCard::NumberLength) + "," +
                        QByteArray::number(SimCard::NameLength));
        return Result::ok();
    }
    if (command.form != AtCommand::Form::Set)
        return Result::error();
    const ModuleCharset::Stored wanted = m_text.store(unquoted(command.args), m_charset);
    if (wanted.refusal == ModuleCharset::Refusal::Malformed)
        return Result::error();
    if (wanted.refusal == ModuleCharset::Refusal::InvalidCharacters)
        return Result::cmeError(22);
    bool found = false;
    for (const IndexedEntry &used : m_sim.usedEntries()) {
        if (used.entry.name.left(wanted.bytes.size()).compare(wanted.bytes, Qt::CaseInsensitive) == 0) {
            info(reply, entryLine("+CPBF: ", used.index, used.entry));
            found = true;
        }
    }
    return found ? Result::ok() : Result::cmeError(22);
}

Unit::Result Unit::phoneBookStorage(const AtCommand &command, Reply &reply) {
    switch (command.form) {
    case AtCommand::Form::Read:
        info(reply, "+CPBS: \"SM\"," + QByteArray::number(m_sim.usedCount()) + "," +
                        QByteArray::number(m_sim.size()));
        return Result::ok();
    case AtCommand::Form::Test:
        info(reply, "+CPBS: (\"SM\")");
        return Result::ok();
    case AtCommand::Form::Set:
        return unquoted(command.args).toUpper() == "SM" ? Result::ok() : Result::cmeError(3);
    default:
        return Result::error();
    }
}

Unit::Result Unit::characterSet(const AtCommand &command, Reply &reply) {
    switch (command.form) {
    case AtCommand::Form::Read:
        info(reply, "+CSCS: \"" + m_charset + "\"");
        return Result::ok();
    case AtCommand::Form::Test: {
        QByteArrayList offered;
        for (const QByteArray &set : ModuleCharset::names())
            if (m_text.accepts(set))
                offered << '"' + set + '"';
        info(reply, "+CSCS: (" + offered.join(',') + ")");
        return Result::ok();
    }
    case AtCommand::Form::Set: {
        const QByteArray set = unquoted(command.args).toUpper();
        if (!m_text.accepts(set))
            return Result::error();
        m_charset = set;
        return Result::ok();
    }
    default:
        return Result::error();
    }
}

// Phone functionality: the level is kept and reported; the SIM stays readable at every level. A second
// argument 1 restarts the module as AT#REBOOT does.
Unit::Result Unit::functionality(const AtCommand &command, Reply &reply) {
    switch (command.form) {
    case AtCommand::Form::Read:
        info(reply, "+CFUN: " + QByteArray::number(m_functionality));
        return Result::ok();
    case AtCommand::Form::Test:
        info(reply, "+CFUN: (0,1,2,4,5,7,9),(0,1)");
        return Result::ok();
    case AtCommand::Form::Set: {
        const QList<AtArgument> args = splitArguments(command.args);
        if (args.size() > 2 || args[0].quoted)
            return Result::error();
        const std::optional<int> level = parseNumber(args[0].text);
        if (!level || !QList<int>{0, 1, 2, 4, 5, 7, 9}.contains(*level))
            return Result::error();
        std::optional<int> reset = 0;
        if (args.size() == 2)
            reset = args[1].quoted ? std::nullopt : parseNumber(args[1].text);
        if (!reset || *reset > 1)
            return Result::error();
        m_functionality = *level;
        reply.restart = *reset == 1;
        return Result::ok();
    }
    default:
        return Result::error();
    }
}

// The real-time clock: "yy/MM/dd,hh:mm:ss+zz" (zz: the time zone in quarter hours, -96..+96); it
// runs on the unit's clock from the time it was set to, across restarts.
Unit::Result Unit::clock(const AtCommand &command, Reply &reply) {
    switch (command.form) {
    case AtCommand::Form::Read: {
        const qint64 seconds = m_clockSetTo + (m_now - m_clockSetAtNs) / NsPerSecond;
        const QByteArray zone = QByteArray::number(std::abs(m_clockZone)).rightJustified(2, '0');
        info(reply,
             "+CCLK: \"" +
                 QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC).toString("yy/MM/dd,hh:mm:ss").toLatin1() +
                 (m_clockZone < 0 ? '-' : '+') + zone + "\"");
        return Result::ok();
    }
    case AtCommand::Form::Test:
        return Result::ok();
    case AtCommand::Form::Set: {
        const QList<AtArgument> args = splitArguments(command.args);
        const QByteArray &text = args[0].text;
        if (args.size() != 1 || !args[0].quoted || text.size() != 20)
            return Result::error();
        const auto field = [&text](int at) { return parseNumber(text.mid(at, 2)); };
        const std::optional<int> year = field(0), month = field(3), day = field(6), hour = field(9),
                                 minute = field(12), second = field(15), zone = field(18);
        const auto at = [&text](int pos, char c) { return text[pos] == c; };
        if (!year || !month || !day || !hour || !minute || !second || !zone || !at(2, '/') || !at(5, '/') ||
            !at(8, ',') || !at(11, ':') || !at(14, ':') || !(at(17, '+') || at(17, '-')) || *zone > 96)
            return Result::error();
        const QDate date(2000 + *year, *month, *day);
        const QTime time(*hour, *minute, *second);
        if (!date.isValid() || !time.isValid())
            return Result::error();
        m_clockSetTo = QDateTime(date, time, Qt::UTC).toSecsSinceEpoch();
        m_clockSetAtNs = m_now;
        m_clockZone = at(17, '-') ? -*zone : *zone;
        return Result::ok();
    }
    default:
        return Result::error();
    }
}

// The SMS service centre address, converted to the chosen character set as 27.005 has it.
Unit::Result Unit::serviceCentre(const AtCommand &command, Reply &reply) {
    switch (command.form) {
    case AtCommand::Form::Read:
        info(reply, "+CSCA: \"" + m_text.present(m_serviceCentre, m_charset) + "\"," +
                        QByteArray::number(SimEntry::typeOf(m_serviceCentre)));
        return Result::ok();
    case AtCommand::Form::Test:
        return Result::ok();
    case AtCommand::Form::Set: {
        const QList<AtArgument> args = splitArguments(command.args);
        if (args.size() > 2 || !args[0].quoted)
            return Result::error();
        if (args.size() == 2) {
            const std::optional<int> type = parseNumber(args[1].text);
            if (!type || *type > 255)
                return Result::error();
        }
        const ModuleCharset::Stored address = m_text.store(args[0].text, m_charset);
        if (address.refusal != ModuleCharset::Refusal::None || address.bytes.isEmpty() ||
            address.bytes.size() > 20)
            return Result::error();
        m_serviceCentre = address.bytes;
        return Result::ok();
    }
    default:
        return Result::error();
    }
}

Unit::Result Unit::fileCommand(const AtCommand &command, Reply &reply) {
    using Form = AtCommand::Form;
    const QByteArray &name = command.name;
    if (command.form == Form::Test)
        return Result::ok();

    if (name == "#LSCRIPT") {
        if (command.form == Form::Action)
            for (const QByteArray &file : m_files.names())
                info(reply, "#LSCRIPT: \"" + file + "\"," + QByteArray::number(m_files.file(file)->size()));
        if (command.form == Form::Set)
            return Result::error();
        info(reply, "#LSCRIPT: free bytes: " + QByteArray::number(m_files.freeBytes()));
        return Result::ok();
    }
    if (name == "#ESCRIPT") {
        if (command.form == Form::Read) {
            info(reply, "#ESCRIPT: \"" + m_files.startScript() + "\"");
            return Result::ok();
        }
        if (command.form != Form::Set)
            return Result::error();
        m_files.setStartScript(unquoted(command.args));
        return Result::ok();
    }
    if (command.form != Form::Set)
        return Result::error();
    if (name == "#DSCRIPT")
        return m_files.remove(unquoted(command.args)) ? Result::ok() : Result::error();

    // #WSCRIPT and #ASEND: name,size. A bare name may hold commas; the size follows the last one.
    QByteArray fileName;
    QByteArray sizeText;
    if (command.args.trimmed().startsWith('"')) {
        const QList<AtArgument> args = splitArguments(command.args);
        if (args.size() < 2 || args.size() > 3)
            return Result::error();
        if (args.size() == 3 && args[2].text != "0" && args[2].text != "1")
            return Result::error();
        fileName = args[0].text;
        sizeText = args[1].text;
    } else {
        const qsizetype comma = command.args.lastIndexOf(',');
        if (comma < 0)
            return Result::error();
        fileName = command.args.left(comma);
        sizeText = command.args.mid(comma + 1).trimmed();
    }
    const std::optional<int> size = parseNumber(sizeText);
    if (fileName.isEmpty() || !size || *size == 0 || *size > m_files.freeBytes(fileName))
        return Result::error();

    if (name == "#WSCRIPT")
        emitBytes("\r\n>>>", reply.at);
    else
        info(reply, "CONNECT");
    m_data = DataTransfer{name, fileName, *size, {}, m_out.pushedTotal()};
    return {Final::Prompt, 0};
}

void Unit::completeData() {
    const DataTransfer transfer = std::move(*m_data);
    m_data.reset();
    Reply reply{m_now};
    if (m_options.timing.fileWriteBytesPerSecond > 0)
        reply.at += qint64(transfer.size) * NsPerSecond / m_options.timing.fileWriteBytesPerSecond;
    const bool stored = m_files.store(transfer.name, transfer.received);
    finalResult(reply, stored ? Result::ok() : Result::error());
    m_busyUntil = reply.at;
    if (stored && transfer.command == "#ASEND")
        schedule(reply.at + ms(m_options.timing.asendEventMs),
                 [this] { emitBytes("\r\n#ASENDEV: 0\r\n", m_now); });
}

// ---- device script -----------------------------------------------------------------------------

void Unit::setDtr(bool raised) {
    if (raised == m_dtr)
        return;
    m_dtr = raised;
    if (raised) {
        if (m_script == ScriptState::Running)
            scheduleStopReport(m_now + ms(m_options.timing.stopReportMs));
        return;
    }
    // The LTE unit's script starts again when the stop request goes away.
    if (m_options.variant == Variant::Lte && takesCommands()) {
        schedule(m_now + ms(m_options.timing.lteRestartMs), [this] {
            if (!m_dtr && takesCommands())
                startBoot();
        });
    }
}

void Unit::reboot() {
    startBoot();
}

void Unit::startBoot() {
    m_events.clear();
    m_script = ScriptState::Rebooting;
    m_inbox.clear();
    m_line.clear();
    m_lineOverflow = false;
    m_data.reset();
    m_busyUntil = m_now;
    schedule(m_now + ms(m_options.timing.bootMs), [this] { bootComplete(); });
}

void Unit::bootComplete() {
    m_echo = true;
    m_cmee = m_options.cmeeMode;
    m_charset = "IRA";
    m_functionality = 1;
    m_sled = 0;
    // Without its script file the module just waits for commands.
    if (!m_files.contains(m_files.startScript())) {
        m_script = ScriptState::Stopped;
        return;
    }
    startScript();
}

void Unit::startScript() {
    m_script = ScriptState::Running;
    if (m_dtr) {
        scheduleStopReport(m_now);
        return;
    }
    const Identity &id = m_options.identity;
    const QByteArray admin =
        m_sim.usedEntries().isEmpty() ? QByteArray() : m_sim.usedEntries().first().entry.number;
    const QList<QByteArray> lines = {
        "#CBC: 0," + QByteArray::number(id.batteryCentiVolts),
        "+CREG: 0,1",
        "+COPS: 0,0,\"" + id.operatorName + "\"",
        "[AT#tone=i,4]=",
        "#SMSATWL: 0,1,0,\"" + admin + "\"",
    };
    const qint64 gap = ms(m_options.timing.bootLineGapMs);
    qint64 at = m_now;
    for (const QByteArray &line : lines) {
        schedule(at, [this, line] {
            if (m_script == ScriptState::Running && !m_dtr)
                scriptLine(line, m_now);
        });
        at += gap;
    }
    if (m_options.timing.statusPeriodMs > 0)
        scheduleStatus(at + ms(m_options.timing.statusPeriodMs));
}

void Unit::scheduleStopReport(qint64 at) {
    schedule(at, [this] {
        if (m_script == ScriptState::Running && m_dtr)
            stopReport();
    });
}

void Unit::stopReport() {
    if (m_options.variant == Variant::Lte) {
        emitBytes("\r\n#APLAYEV: 0\r\n", m_now);
        m_script = ScriptState::Stopped;
    } else {
        scriptLine("STOP", m_now);
        m_script = ScriptState::Stopping;
    }
}

void Unit::scheduleStatus(qint64 at) {
    schedule(at, [this] { statusRound(); });
}

void Unit::statusRound() {
    if (m_script != ScriptState::Running)
        return;
    const Identity &id = m_options.identity;
    const int voltage = id.batteryCentiVolts + (m_statusRound % 3) - 1;
    scriptLine("#CBC: 0," + QByteArray::number(voltage), m_now);
    scriptLine("+CREG: 0,1", m_now);
    if (m_statusRound % 2 == 0)
        scriptLine("+COPS: 0,0,\"" + id.operatorName + "\"", m_now);
    ++m_statusRound;
    if (m_options.timing.statusPeriodMs > 0)
        scheduleStatus(m_now + ms(m_options.timing.statusPeriodMs));
}

// ---- faults ------------------------------------------------------------------------------------

QByteArray Unit::noise(qsizetype count, bool withoutLineEnds) {
    QByteArray bytes;
    bytes.reserve(count);
    while (bytes.size() < count) {
        // xorshift32: the same noise every run.
        m_noise ^= m_noise << 13;
        m_noise ^= m_noise >> 17;
        m_noise ^= m_noise << 5;
        const char c = char(m_noise & 0xff);
        if (withoutLineEnds && (c == '\r' || c == '\n'))
            continue;
        bytes.append(c);
    }
    return bytes;
}

void Unit::topUpEndless() {
    if (m_endlessLeft == 0)
        return;
    const bool throttled = m_out.bitsPerSecond() > 0;
    if (throttled && m_out.pendingBytes() >= 64)
        return;
    qint64 chunk = throttled ? 256 : 4096;
    if (m_endlessLeft > 0)
        chunk = std::min(chunk, m_endlessLeft);
    m_out.push(noise(chunk, true), m_now);
    if (m_endlessLeft > 0) {
        m_endlessLeft -= chunk;
        if (m_endlessLeft == 0)
            releaseHeld();
    }
}

void Unit::releaseHeld() {
    m_out.push(std::exchange(m_held, {}), m_now);
}

void Unit::injectFault(const Fault &fault) {
    switch (fault.kind) {
    case Fault::Kind::Error:
        for (int i = 0; i < fault.count; ++i)
            m_commandFaults.push_back(Result::error());
        break;
    case Fault::Kind::CmeError:
        for (int i = 0; i < fault.count; ++i)
            m_commandFaults.push_back(Result::cmeError(fault.code));
        break;
    case Fault::Kind::Silent:
        for (int i = 0; i < fault.count; ++i)
            m_commandFaults.push_back({Final::None, 0});
        break;
    case Fault::Kind::Garbage:
        m_out.push(noise(fault.count, false), m_now);
        break;
    case Fault::Kind::Endless:
        m_endlessLeft = fault.count == 0 ? -1 : fault.count;
        break;
    case Fault::Kind::HangUp:
        m_hangUp = true;
        break;
    case Fault::Kind::Clear:
        m_commandFaults.clear();
        if (m_endlessLeft != 0) {
            m_endlessLeft = 0;
            releaseHeld();
        }
        break;
    }
}

} // namespace oxa::sim
