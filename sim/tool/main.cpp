// oxasim: the simulated unit on a pseudo-terminal, for the program's real serial-port code and for
// anyone who wants to try it without hardware. Prints "PTY <slave>" first; control lines on stdin.

#include <QtGlobal>

#if defined(Q_OS_UNIX)

#include "charset.h"
#include "control.h"
#include "defaultsim.h"
#include "oxafile.h"
#include "ptyserver.h"
#include "unithost.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using namespace oxa::sim;

int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

void printOut(const QByteArray &text) {
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    std::fflush(stdout);
}

void printErr(const QString &text) {
    const QByteArray bytes = ("oxasim: " + text + "\n").toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

// Reads control lines from stdin; end of input leaves the simulator running.
class ControlInput : public QObject {
public:
    ControlInput(UnitHost &host, PtyServer &pty)
        : m_host(host), m_pty(pty), m_notifier(STDIN_FILENO, QSocketNotifier::Read) {
        connect(&m_notifier, &QSocketNotifier::activated, this, &ControlInput::onReadable);
    }

private:
    void onReadable() {
        char buffer[4096];
        const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (count <= 0) {
            if (count == 0 || errno != EINTR)
                m_notifier.setEnabled(false);
            return;
        }
        m_buffer.append(buffer, qsizetype(count));
        qsizetype end;
        while ((end = m_buffer.indexOf('\n')) >= 0) {
            const QByteArray line = m_buffer.left(end);
            m_buffer.remove(0, end + 1);
            handle(line);
        }
    }

    void handle(const QByteArray &line) {
        const ControlLine control = parseControlLine(line);
        Unit &unit = m_host.unit();
        switch (control.kind) {
        case ControlLine::Kind::Empty:
            break;
        case ControlLine::Kind::Dtr:
            m_host.setDtr(control.dtr);
            break;
        case ControlLine::Kind::Dump:
            printOut(dumpText(unit.sim()));
            break;
        case ControlLine::Kind::Files:
            printOut(filesText(unit.files()));
            break;
        case ControlLine::Kind::State:
            printOut(stateText(unit));
            break;
        case ControlLine::Kind::Fault:
            if (control.fault.kind == Fault::Kind::HangUp)
                m_pty.hangUp();
            else
                m_host.injectFault(control.fault);
            break;
        case ControlLine::Kind::Reboot:
            unit.reboot();
            m_host.runDue();
            break;
        case ControlLine::Kind::Help:
            printOut(controlHelp());
            break;
        case ControlLine::Kind::Quit:
            QCoreApplication::quit();
            break;
        case ControlLine::Kind::Invalid:
            printErr(control.error);
            break;
        }
    }

    UnitHost &m_host;
    PtyServer &m_pty;
    QSocketNotifier m_notifier;
    QByteArray m_buffer;
};

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("oxasim");
    QCoreApplication::setApplicationVersion(QStringLiteral(OXA_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "The simulated unit on a pseudo-terminal. Prints \"PTY <slave path>\" first, then reads control "
        "lines "
        "on stdin: dtr 1, dtr 0, dump, files, state, fault ..., reboot, help, quit.");
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption linkOption("link", "Also make a symbolic link PATH to the slave.", "PATH");
    const QCommandLineOption sizeOption("size", "Number of SIM phone-book locations (default 250).", "N",
                                        "250");
    const QCommandLineOption lteOption("lte",
                                       "LTE module: stop reported by #APLAYEV:, restart by lowering DTR.");
    const QCommandLineOption stoppedOption("stopped",
                                           "Device script stopped at start: AT commands are taken at once.");
    const QCommandLineOption lineRateOption("line-rate", "Throttle output to 115200 bit/s 8N1.");
    const QCommandLineOption simOption("sim", "Load a configuration file (*.oxa) as SIM content.", "FILE");
    const QCommandLineOption instantOption("instant",
                                           "No boot, stop or latency delays (status lines stay periodic).");
    const QCommandLineOption codePageOption(
        "code-page",
        "Code page of the SIM's names, as clients that choose UCS2, GSM or 8859-1 with AT+CSCS read them "
        "(default windows-1250).",
        "NAME", "windows-1250");
    const QCommandLineOption faultOption(
        "fault", "Inject a fault at start (" + faultUsage() + "); repeatable.", "SPEC");
    parser.addOptions({linkOption, sizeOption, lteOption, stoppedOption, lineRateOption, simOption,
                       instantOption, codePageOption, faultOption});
    parser.process(app);

    UnitOptions options;
    options.variant = parser.isSet(lteOption) ? Variant::Lte : Variant::Classic;
    options.startRunning = !parser.isSet(stoppedOption);
    bool sizeOk = false;
    options.simSize = parser.value(sizeOption).toInt(&sizeOk);
    if (!sizeOk || options.simSize < 1 || options.simSize > 9999) {
        printErr("--size wants a number from 1 to 9999");
        return 2;
    }
    options.timing = parser.isSet(instantOption) ? Timing::instant() : Timing::realistic();
    options.timing.lineBitsPerSecond = parser.isSet(lineRateOption) ? 115200 : 0;
    options.codePage = parser.value(codePageOption).toLatin1();
    if (!ModuleCharset(options.codePage).isValid()) {
        printErr("--code-page: no converter for \"" + parser.value(codePageOption) + "\"");
        return 2;
    }

    if (parser.isSet(simOption)) {
        QFile file(parser.value(simOption));
        if (!file.open(QIODevice::ReadOnly)) {
            printErr(QStringLiteral("cannot read %1: %2").arg(file.fileName(), file.errorString()));
            return 2;
        }
        QList<IndexedEntry> content;
        SimCard check(options.simSize);
        for (const IndexedEntry &entry : simContentFromOxa(file.readAll())) {
            if (check.write(entry.index, entry.entry) == SimCard::Status::Ok)
                content.append(entry);
            else
                printErr(QStringLiteral("%1: entry %2 (%3) does not fit the SIM; left out")
                             .arg(file.fileName())
                             .arg(entry.index)
                             .arg(QString::fromLatin1(entry.entry.name)));
        }
        options.simContent = content;
    }

    QList<Fault> faults;
    for (const QString &spec : parser.values(faultOption)) {
        QString error;
        const std::optional<Fault> fault = parseFault(spec.toLatin1(), &error);
        if (!fault) {
            printErr(error);
            return 2;
        }
        faults.append(*fault);
    }

    UnitHost host(options);
    PtyServer pty(host);
    QString error;
    if (!pty.open(&error)) {
        printErr("cannot create the pseudo-terminal: " + error);
        return 1;
    }

    const QString link = parser.value(linkOption);
    if (!link.isEmpty()) {
        const QFileInfo existing(link);
        if (existing.isSymLink())
            QFile::remove(link);
        else if (existing.exists()) {
            printErr(link + " exists and is not a symbolic link; not replaced");
            return 2;
        }
        if (!QFile::link(pty.slavePath(), link)) {
            printErr("cannot create the link " + link);
            return 1;
        }
    }

    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) {
        printErr("cannot set up signal handling");
        return 1;
    }
    QSocketNotifier signalNotifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
    // A program on the slave that goes away must not take the simulator with it.
    ::signal(SIGPIPE, SIG_IGN);

    for (const Fault &fault : faults) {
        if (fault.kind == Fault::Kind::HangUp)
            pty.hangUp();
        else
            host.injectFault(fault);
    }

    ControlInput control(host, pty);
    printOut("PTY " + pty.slavePath().toLocal8Bit() + "\n");

    const int result = app.exec();
    pty.hangUp();
    if (!link.isEmpty() && QFileInfo(link).isSymLink())
        QFile::remove(link);
    return result;
}

#else

#include <cstdio>

int main() {
    std::fputs("oxasim: pseudo-terminals need a POSIX system; use the in-process simulated unit instead.\n",
               stderr);
    return 1;
}

#endif
