// Uploads 128000 bytes (the plain file step several times, then an ASEND step once) from the window to
// oxasim --line-rate on a pseudo-terminal, through the real SerialLine, Qt SerialPort and the
// production pause, and prints the wall time next to the floor: the bytes at 115200 bit/s 8N1 plus
// the upload's fixed pauses. The plain file step's median goes into the ROW line. Asserts nothing.
#include "benchsupport.h"

#include "monitor.h"
#include "productionseams.h"
#include "serialline.h"
#include "tform1.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

using namespace oxa;

namespace {

constexpr qint64 UploadBytes = 128000;
constexpr double LineBytesPerSecond = 115200.0 / 10.0;

class PrintedErrors : public ErrorReport {
public:
    void report(const QString &message) override {
        std::fprintf(stderr, "error: %s\n", qPrintable(message));
        ++count;
    }
    int count = 0;
};

class NoDialogs : public Dialogs {
public:
    std::optional<QString> choosePort(const QList<PortEntry> &, const QString &) override {
        return std::nullopt;
    }
    QString openFileName(const QString &) override { return {}; }
    QString saveFileName(const QString &) override { return {}; }
    bool confirm(const QString &) override { return false; }
};

// Runs the event loop until `done` or the deadline.
template <typename Done> bool spin(Done done, int milliseconds) {
    const QDeadlineTimer deadline(milliseconds);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return done();
}

// The simulator's own listing of its files ("name,size" lines up to "end").
QByteArray moduleFiles(QProcess &sim) {
    sim.write("files\n");
    QByteArray listing;
    spin(
        [&] {
            while (sim.canReadLine()) {
                const QByteArray line = sim.readLine();
                if (line == "end\n")
                    return true;
                listing += line;
            }
            sim.waitForReadyRead(50);
            return false;
        },
        5000);
    return listing;
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QProcess sim;
    sim.setProgram(QStringLiteral(OXASIM_PATH));
    // Stopped script and no one-off delays: the line rate is the only thing that takes time.
    sim.setArguments({"--line-rate", "--stopped", "--instant"});
    sim.start();
    const auto lineReady = [&] {
        if (!sim.canReadLine())
            sim.waitForReadyRead(50);
        return sim.canReadLine();
    };
    if (!sim.waitForStarted(10000) || !spin(lineReady, 20000)) {
        std::fprintf(stderr, "oxasim did not start\n");
        return 1;
    }
    const QByteArray first = sim.readLine().trimmed();
    if (!first.startsWith("PTY ")) {
        std::fprintf(stderr, "oxasim said %s\n", first.constData());
        return 1;
    }
    const QString slave = QString::fromLocal8Bit(first.mid(4));

    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    QByteArray data(UploadBytes, Qt::Uninitialized);
    for (qint64 i = 0; i < UploadBytes; ++i)
        data[i] = char((i * 7 + i / 256) & 0xff);
    for (const char *name : {"bench.bin", "bench.amr"}) {
        QFile file(folder.filePath(QString::fromLatin1(name)));
        file.open(QIODevice::WriteOnly);
        file.write(data);
    }

    EventLoopPause pause;
    PrintedErrors errors;
    NoDialogs dialogs;
    SerialLine line([&](const QList<PortEntry> &, const QString &) { return std::optional<QString>(slave); });
    TForm1 form({&line, &pause, &errors, &dialogs}, folder.filePath("OXAset"));
    form.start();
    spin([] { return false; }, 1500); // the start-up's identification and operator name

    std::printf("upload of %lld bytes to oxasim --line-rate on %s\n", static_cast<long long>(UploadBytes),
                qPrintable(slave));
    // The window must keep painting: a 20 ms timer shows the longest time the event loop did not turn.
    QElapsedTimer sinceTick;
    qint64 longestStallMs = 0;
    QTimer ticker;
    ticker.setInterval(20);
    QObject::connect(&ticker, &QTimer::timeout,
                     [&] { longestStallMs = std::max(longestStallMs, sinceTick.restart()); });
    std::printf("%-12s %10s %10s %10s %14s\n", "step", "wall s", "floor s", "wall/floor", "longest stall");
    struct Run {
        const char *step;
        const char *list;
        int fixedPauseMs; // 500 before the data, 500 after the step's OK, and for ASEND the WaitSer pause
    };
    constexpr int PlainRuns = 3;
    QList<Run> runs(PlainRuns, Run{"plain file", "bench.bin", 1000});
    runs.append({"ASEND", "ASEND:bench.amr", 1000 + form.uploadPause()});
    QList<double> plainWalls;
    double plainFloor = 0;
    bool plainFinished = true;
    for (const Run &run : runs) {
        form.ctl<QPlainTextEdit>("List")->setPlainText(QString::fromLatin1(run.list));
        QElapsedTimer timer;
        timer.start();
        longestStallMs = 0;
        sinceTick.start();
        ticker.start();
        QMetaObject::invokeMethod(form.control(QStringLiteral("Upgrade")), "click");
        const bool finished =
            spin([&] { return !form.session().uploadStepWaiting() && !form.handlerRunning(); }, 120000);
        const double wall = double(timer.nsecsElapsed()) / 1e9;
        ticker.stop();
        const double floor = double(UploadBytes) / LineBytesPerSecond + run.fixedPauseMs / 1000.0;
        std::printf("%-12s %10.3f %10.3f %10.3f %11lld ms%s\n", run.step, wall, floor, wall / floor,
                    static_cast<long long>(longestStallMs),
                    finished && errors.count == 0 ? "" : "  (did not finish)");
        std::fflush(stdout);
        if (qstrcmp(run.step, "plain file") == 0) {
            plainWalls << wall;
            plainFloor = floor;
            plainFinished = plainFinished && finished && errors.count == 0;
        }
    }
    const double plainWall = bench::median(plainWalls);
    bench::printRow(
        QStringLiteral("upload, %1 bytes, plain file step (%2 runs)").arg(UploadBytes).arg(PlainRuns),
        bench::seconds(plainWall), QStringLiteral("floor ") + bench::seconds(plainFloor),
        plainWall / plainFloor, QStringLiteral("<= floor + 1 s"),
        plainFinished && plainWall <= plainFloor + 1.0 ? "yes" : "NO");
    const QByteArray files = moduleFiles(sim);
    std::printf("module files:\n%s", files.constData());

    line.close();
    sim.write("quit\n");
    if (!sim.waitForFinished(5000))
        sim.kill();
    return errors.count == 0 ? 0 : 1;
}
