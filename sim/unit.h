#pragma once

#include "atcommand.h"
#include "charset.h"
#include "fault.h"
#include "filestore.h"
#include "simcard.h"
#include "unitoptions.h"
#include "wire.h"

#include <QByteArray>
#include <deque>
#include <functional>
#include <map>
#include <optional>

namespace oxa::sim {

// What the device script is doing.
enum class ScriptState {
    Rebooting, // the module restarts; nothing is answered
    Running,   // the script owns the line: AT commands are not taken, status lines come now and then
    Stopping,  // classic variant: "STOP" sent, the module takes commands, "[AT#SLED=1]=" follows echo-off
    Stopped,   // the module takes AT commands
};

// The unit at the far end of the serial line: the GSM module with its AT commands, SIM phone book and
// file store, and the device script on top. Pure and single-threaded: bytes and DTR go in, bytes come
// out, and time moves only through advanceTo(), so that the same input always gives the same output.
class Unit {
public:
    explicit Unit(const UnitOptions &options = {});

    // Runs everything due up to `nowNs` (the unit's clock never goes back).
    void advanceTo(qint64 nowNs);
    qint64 now() const { return m_now; }
    // When something next happens on its own (a scheduled event, an output byte crossing the line, a
    // command ready to run); nullopt when the unit waits for input.
    std::optional<qint64> nextEventNs() const;

    // Bytes from the program, received now.
    void receive(const QByteArray &bytes);
    void setDtr(bool raised);
    bool dtr() const { return m_dtr; }
    // Bytes that have crossed the line by now.
    QByteArray takeOutput();
    qint64 pendingOutput() const { return m_out.pendingBytes(); }
    // True once after the line was hung up by a fault.
    bool takeHangUp();

    void injectFault(const Fault &fault);
    // Restarts the module as "AT#REBOOT" does.
    void reboot();

    ScriptState scriptState() const { return m_script; }
    Variant variant() const { return m_options.variant; }
    bool echo() const { return m_echo; }
    bool inDataMode() const { return m_data.has_value(); }
    SimCard &sim() { return m_sim; }
    const SimCard &sim() const { return m_sim; }
    FileStore &files() { return m_files; }
    const FileStore &files() const { return m_files; }
    const UnitOptions &options() const { return m_options; }

private:
    enum class Final { Ok, Error, Cme, Prompt, None };
    struct Result {
        Final final = Final::Ok;
        int cme = 0;
        static Result ok() { return {}; }
        static Result error() { return {Final::Error, 0}; }
        static Result cmeError(int code) { return {Final::Cme, code}; }
    };
    // Output of the command line being answered: info lines and the time they go out.
    struct Reply {
        qint64 at = 0;
        bool firstInfo = true;
        bool restart = false; // the module restarts once the line is answered (AT+CFUN=<fun>,1)
    };
    struct DataTransfer {
        QByteArray command; // "#WSCRIPT" or "#ASEND"
        QByteArray name;
        int size = 0;
        QByteArray received;
        qint64 promptEnd = 0; // output position after the prompt
    };

    void schedule(qint64 at, std::function<void()> action);
    void emitBytes(const QByteArray &bytes, qint64 at);
    void scriptLine(const QByteArray &line, qint64 at);
    void info(Reply &reply, const QByteArray &line);
    void finalResult(Reply &reply, const Result &result);
    QByteArray cmeText(int code) const;

    bool takesCommands() const {
        return m_script == ScriptState::Stopping || m_script == ScriptState::Stopped;
    }
    void processInput();
    void receiveData(char c);
    void completeData();
    void runLine(const QByteArray &line);
    Result execute(const AtCommand &command, Reply &reply);
    Result executeBasic(const AtCommand &command, Reply &reply);
    Result phoneBookRead(const AtCommand &command, Reply &reply);
    Result phoneBookWrite(const AtCommand &command, Reply &reply);
    Result phoneBookFind(const AtCommand &command, Reply &reply);
    Result phoneBookStorage(const AtCommand &command, Reply &reply);
    Result characterSet(const AtCommand &command, Reply &reply);
    Result functionality(const AtCommand &command, Reply &reply);
    Result clock(const AtCommand &command, Reply &reply);
    Result serviceCentre(const AtCommand &command, Reply &reply);
    Result fileCommand(const AtCommand &command, Reply &reply);
    QByteArray entryLine(const QByteArray &prefix, int index, const SimEntry &entry) const;
    Result simStatus(SimCard::Status status) const;

    void startBoot();
    void bootComplete();
    void startScript();
    void scheduleStopReport(qint64 at);
    void stopReport();
    void scheduleStatus(qint64 at);
    void statusRound();
    void topUpEndless();
    void releaseHeld();
    QByteArray noise(qsizetype count, bool withoutLineEnds);

    UnitOptions m_options;
    SimCard m_sim;
    FileStore m_files;
    Wire m_out;
    qint64 m_now = 0;
    std::multimap<qint64, std::function<void()>> m_events;
    ScriptState m_script = ScriptState::Stopped;
    bool m_dtr = false;
    bool m_echo = true;
    int m_cmee = 1;
    QByteArray m_charset = "IRA";
    ModuleCharset m_text;
    int m_functionality = 1; // AT+CFUN
    // The module's clock (AT+CCLK): the time it was set to, in seconds since the epoch read as the
    // local time it shows, the unit's clock then, and the time zone in quarter hours.
    qint64 m_clockSetTo = 946684800; // 00/01/01,00:00:00 until a client sets it
    qint64 m_clockSetAtNs = 0;
    int m_clockZone = 0;
    QByteArray m_serviceCentre;
    int m_sled = 0;
    QByteArray m_inbox;
    QByteArray m_line;
    bool m_lineOverflow = false;
    // The module answers one command line at a time; input waits while it is busy.
    qint64 m_busyUntil = 0;
    std::optional<DataTransfer> m_data;
    // Answers that replace the next command lines: Error, Cme (literal code) or None (silence).
    std::deque<Result> m_commandFaults;
    qint64 m_endlessLeft = 0; // bytes of the endless line still to send; -1: until cleared
    QByteArray m_held;        // answers held back while an endless line blocks the output
    bool m_hangUp = false;
    quint32 m_noise = 0x2545F491u;
    int m_statusRound = 0;
};

} // namespace oxa::sim
