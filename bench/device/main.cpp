// Full read and full write of a SIM with 250 entries in use: the window on the real SerialLine and
// Qt SerialPort, oxasim --line-rate on a pseudo-terminal, the production pause. The floor is every
// byte that crossed the line, both ways, at 86.8 us (115200 bit/s 8N1) plus the pauses the program
// asked for. In the same run, the same SIM is read by a peer nobody here wrote, gammu (a generic AT
// phone-book client), over oxasim --line-rate as well. Prints the median of several runs as ROW lines;
// asserts nothing.
#include "benchsupport.h"
#include "countingport.h"
#include "monitor.h"
#include "oxasimprocess.h"
#include "productionseams.h"
#include "serialline.h"
#include "simcontent.h"
#include "tform1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>

using namespace oxa;
using namespace oxa::bench;

namespace {

constexpr double ByteSeconds = 10.0 / 115200.0;

// The production pause, adding up what was asked for.
class CountedPause : public EventLoopPause {
public:
    void after(int milliseconds, std::function<void()> then) override {
        totalMs += milliseconds;
        EventLoopPause::after(milliseconds, std::move(then));
    }
    qint64 totalMs = 0;
};

struct Measured {
    double wall = 0;
    double floor = 0;
    qint64 bytes = 0;
    qint64 pausedMs = 0;
    double awaiting = 0;
    double turnaround = 0;
    bool complete = false;
};

// gammu reading the same SIM from its own oxasim, whose script is stopped from the start: gammu knows
// nothing of the unit's stop handshake, and a pseudo-terminal has no DTR for it to raise.
struct PeerReads {
    QList<double> walls; // gammu getallmemory SM, start of the process to its end
    double startUp = 0;  // gammu identify: gammu's own connection and identification alone
    bool complete = true;
    QString problem;
};

PeerReads gammuReads(const QString &gammu, const QString &configuration, const QString &folder, int runs) {
    PeerReads peer;
    OxasimProcess sim;
    QString error;
    if (!sim.start({"--line-rate", "--instant", "--stopped", "--size", QString::number(SimEntries), "--sim",
                    configuration},
                   &error)) {
        peer.problem = error;
        return peer;
    }
    const QString rc = folder + QStringLiteral("/gammurc");
    {
        QFile file(rc);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write("[gammu]\ndevice = " + sim.slavePath().toLocal8Bit() + "\nconnection = at115200\n") <
                0) {
            peer.problem = QStringLiteral("cannot write ") + rc;
            return peer;
        }
    }
    const auto run = [&](const QStringList &arguments, QByteArray *output) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", folder);
        process.setProcessEnvironment(environment);
        QElapsedTimer timer;
        timer.start();
        process.start(gammu, QStringList{"-c", rc} + arguments);
        const bool finished = process.waitForFinished(180000);
        const double wall = double(timer.nsecsElapsed()) / 1e9;
        if (!finished)
            process.kill();
        *output = process.readAllStandardOutput();
        if (!finished || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
            peer.complete = false;
            std::fprintf(stderr, "gammu %s failed:\n%s%s\n", qPrintable(arguments.join(' ')),
                         output->constData(), process.readAllStandardError().constData());
        }
        return wall;
    };
    QByteArray output;
    peer.startUp = run({"identify"}, &output);
    std::printf("gammu identify: %.3f s\n", peer.startUp);
    for (int i = 1; i <= runs; ++i) {
        peer.walls << run({"getallmemory", "SM"}, &output);
        const qsizetype entries = output.count("Memory SM, Location ");
        if (entries != SimEntries)
            peer.complete = false;
        std::printf("gammu getallmemory SM %d: %.3f s, %lld entries\n", i, peer.walls.last(),
                    static_cast<long long>(entries));
        std::fflush(stdout);
    }
    sim.quit();
    return peer;
}

int runsFrom(const QStringList &arguments, const QString &option, int fallback) {
    const qsizetype at = arguments.indexOf(option);
    return at >= 0 && at + 1 < arguments.size() ? std::max(1, arguments.at(at + 1).toInt()) : fallback;
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int readRuns = runsFrom(app.arguments(), QStringLiteral("--read-runs"), 5);
    const int writeRuns = runsFrom(app.arguments(), QStringLiteral("--write-runs"), 3);
    const int peerRuns = runsFrom(app.arguments(), QStringLiteral("--peer-runs"), 3);

    QTemporaryDir folder;
    const QString configuration = folder.filePath(QStringLiteral("full.oxa"));
    {
        QFile file(configuration);
        if (!file.open(QIODevice::WriteOnly) || file.write(fullConfiguration()) < 0)
            return 1;
    }
    OxasimProcess sim;
    QString error;
    // No one-off delays of the unit: the line rate and the program's own pauses are all that take time.
    if (!sim.start(
            {"--line-rate", "--instant", "--size", QString::number(SimEntries), "--sim", configuration},
            &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }

    CountedPause pause;
    PrintedErrors errors;
    FixedPortDialogs dialogs(sim.slavePath());
    SerialLine line([&](const QList<PortEntry> &ports, const QString &preselect) {
        return dialogs.choosePort(ports, preselect);
    });
    CountingPort port(line);
    TForm1 form({&port, &pause, &errors, &dialogs}, folder.filePath(QStringLiteral("OXAset")));
    form.start();
    form.show();
    // The start-up's identification, and the running script's first status lines.
    spin([] { return false; }, 2500);

    auto *grid = form.ctl<QTableWidget>("PhoneBook1");
    // The grid still shows the previous read until the new one empties it.
    bool gridEmptied = false;
    QObject::connect(grid->model(), &QAbstractItemModel::rowsRemoved, [&gridEmptied] { gridEmptied = true; });
    const auto lastEntryShown = [grid, &gridEmptied] {
        if (!gridEmptied || grid->rowCount() != GridRows)
            return false;
        const QTableWidgetItem *item = grid->item(GridRows - 1, 0);
        return item && item->text() == QLatin1String(LastRowName);
    };
    const auto click = [&form](const char *button) { form.ctl<QPushButton>(button)->click(); };
    const auto startCounting = [&] {
        gridEmptied = grid->rowCount() == 0;
        port.resetCounts();
        pause.totalMs = 0;
    };
    const auto finish = [&](const QElapsedTimer &timer, bool complete) {
        Measured m;
        m.wall = double(timer.nsecsElapsed()) / 1e9;
        m.bytes = port.sentBytes + port.receivedBytes;
        m.pausedMs = pause.totalMs;
        m.awaiting = double(port.awaitingReplyNs) / 1e9;
        m.turnaround = double(port.turnaroundNs) / 1e9;
        m.floor = double(m.bytes) * ByteSeconds + double(m.pausedMs) / 1000.0;
        m.complete = complete && errors.count == 0;
        return m;
    };
    const auto show = [](const char *what, int run, const Measured &m) {
        std::printf("%s %d: %.3f s, floor %.3f s (%lld bytes, %lld ms of pauses), ratio %.4f%s\n", what, run,
                    m.wall, m.floor, static_cast<long long>(m.bytes), static_cast<long long>(m.pausedMs),
                    m.wall / m.floor, m.complete ? "" : "  (did not finish)");
        std::printf("  command to reply %.3f s; reply to next command %.3f s, of which %.3f s pauses\n",
                    m.awaiting, m.turnaround, double(m.pausedMs) / 1000.0);
        std::fflush(stdout);
    };

    // Full read: from the stop report (the unit sends it as soon as DTR rises) to the last entry shown.
    QList<Measured> reads;
    for (int run = 1; run <= readRuns; ++run) {
        if (run > 1) {
            // The line first, so that the rebooted script does not find DTR still raised.
            sim.control("dtr 0");
            click("RunOXA");
            spin([] { return false; }, 2500);
        }
        click("StopOXA");
        startCounting();
        QElapsedTimer timer;
        timer.start();
        sim.control("dtr 1");
        const bool shown = spin(lastEntryShown, 30000);
        reads << finish(timer, shown);
        if (!shown)
            std::fprintf(stderr, "monitor:\n%s\n",
                         qPrintable(form.monitor()
                                        ->lines()
                                        .mid(std::max<qsizetype>(0, form.monitor()->lineCount() - 30))
                                        .join('\n')));
        show("read", run, reads.last());
        spin([] { return false; }, 100); // the closing "OK"
    }

    // The peer reads the same SIM in the same run, between the program's reads and its writes.
    const QString gammu = QStandardPaths::findExecutable(QStringLiteral("gammu"));
    PeerReads peer;
    if (gammu.isEmpty())
        peer.problem = QStringLiteral("gammu is not installed (./benchmarks installs it)");
    else
        peer = gammuReads(gammu, configuration, folder.path(), peerRuns);

    // Full write: 250 entries written, then read back until the last entry is shown again.
    QList<Measured> writes;
    for (int run = 1; run <= writeRuns; ++run) {
        startCounting();
        QElapsedTimer timer;
        timer.start();
        click("SaveOXA");
        const bool shown = spin([&] { return !form.session().writing() && lastEntryShown(); }, 180000);
        writes << finish(timer, shown);
        show("write", run, writes.last());
        spin([] { return false; }, 100);
    }
    const QList<QByteArray> held = sim.listing("dump").split('\n');
    const qsizetype heldEntries =
        std::count_if(held.begin(), held.end(), [](const QByteArray &l) { return !l.isEmpty(); });

    const auto row = [](const QString &what, const QList<Measured> &runs, double target) {
        QList<double> walls, floors, ratios;
        bool complete = true;
        for (const Measured &m : runs) {
            walls << m.wall;
            floors << m.floor;
            ratios << m.wall / m.floor;
            complete = complete && m.complete;
        }
        const double ratio = median(ratios);
        printRow(QStringLiteral("%1 (%2 runs)").arg(what).arg(runs.size()), seconds(median(walls)),
                 QStringLiteral("floor ") + seconds(median(floors)), ratio,
                 QStringLiteral("<= %1 x floor").arg(target, 0, 'f', 2),
                 complete && ratio <= target ? "yes" : "NO");
    };
    row(QStringLiteral("full read, 250 entries"), reads, 1.05);
    row(QStringLiteral("full write + read-back, 250 entries"), writes, 1.02);
    if (!peer.problem.isEmpty() || peer.walls.isEmpty()) {
        printNote(QStringLiteral("no peer row: ") + peer.problem);
    } else {
        QList<double> walls;
        bool complete = peer.complete;
        for (const Measured &m : reads) {
            walls << m.wall;
            complete = complete && m.complete;
        }
        const double ours = median(walls);
        const double theirs = median(peer.walls);
        printRow(QStringLiteral("full read, 250 entries, beside gammu (%1 + %2 runs)")
                     .arg(reads.size())
                     .arg(peer.walls.size()),
                 seconds(ours), QStringLiteral("gammu ") + seconds(theirs), ours / theirs,
                 QStringLiteral("<= 1 x gammu"), complete && ours <= theirs ? "yes" : "NO");
        QList<double> paused;
        for (const Measured &m : reads)
            paused << double(m.pausedMs) / 1000.0;
        printNote(
            QStringLiteral("beside gammu: %1 of gammu's %2 are its own start-up (gammu identify), about %3 "
                           "reading, one AT+CPBR per location, names in UCS2; the program's %4 include %5 "
                           "of pauses it asks for")
                .arg(seconds(peer.startUp), seconds(theirs), seconds(theirs - peer.startUp), seconds(ours),
                     seconds(median(paused))));
    }
    if (heldEntries != SimEntries)
        printNote(QStringLiteral("the unit holds %1 entries after the write, not %2")
                      .arg(heldEntries)
                      .arg(SimEntries));

    form.close();
    line.close();
    sim.quit();
    return 0;
}
