// A unit that sends "X" lines without end, as fast as the line carries them, for an hour: 41.5 MB,
// replayed into the window as fast as it takes them, in the pieces a port announces, the event loop
// turning after each; then a line without a CR for five minutes of the line. Once with the monitor
// page out of sight (lines wait for it), once with it on screen (lines go into the view and out of it
// again). What counts is the resident memory of the whole program, the most it reached, against
// 200 MB. Asserts nothing.
#include "benchsupport.h"
#include "monitor.h"
#include "replayport.h"
#include "tform1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTabWidget>

using namespace oxa;
using namespace oxa::bench;

namespace {

constexpr qint64 LineBytesPerSecond = 11520;
constexpr qint64 HourBytes = 3600 * LineBytesPerSecond;
constexpr qint64 EndlessLineBytes = 5 * 60 * LineBytesPerSecond;
constexpr qsizetype PieceBytes = 4095;
constexpr double TargetMB = 200.0;

void bringIntoView(QWidget *widget) {
    for (QWidget *child = widget; child && child->parentWidget(); child = child->parentWidget())
        if (auto *tabs = qobject_cast<QTabWidget *>(child->parentWidget()->parentWidget()))
            tabs->setCurrentWidget(child);
}

// Replays `total` bytes made of `piece`; returns the most resident memory seen meanwhile.
double replay(ReplayWindow &window, qint64 total, const QByteArray &piece) {
    double most = 0;
    for (qint64 sent = 0, pieces = 0; sent < total; ++pieces) {
        const QByteArray bytes = piece.left(total - sent);
        window.port.deliver(bytes);
        QCoreApplication::processEvents();
        sent += bytes.size();
        if (pieces % 256 == 0)
            most = std::max(most, residentMB());
    }
    return std::max(most, residentMB());
}

struct Run {
    double most = 0;
    int errors = 0;
};

Run garbageHour(bool monitorOnScreen) {
    ReplayWindow window;
    if (monitorOnScreen)
        bringIntoView(window.form.ctl<QWidget>("Monitor"));
    QCoreApplication::processEvents();
    const double atStart = residentMB();
    QElapsedTimer timer;
    timer.start();
    const double afterHour = replay(window, HourBytes, QByteArray("X\r\n").repeated(PieceBytes / 3));
    const double hourSeconds = double(timer.nsecsElapsed()) / 1e9;
    const double afterLine = replay(window, EndlessLineBytes, QByteArray(PieceBytes, 'X'));
    const Monitor &monitor = *window.form.monitor();
    printNote(
        QStringLiteral("garbage, monitor %1: %2 MB of \"X\" lines replayed in %3 (%4 log lines, %5 held in "
                       "memory, %6 MB in the log's file); resident %7 MB at start, at most %8 MB during the "
                       "hour, %9 MB during a further line without CR")
            .arg(monitorOnScreen ? QStringLiteral("on screen") : QStringLiteral("out of sight"))
            .arg(double(HourBytes) / 1e6, 0, 'f', 1)
            .arg(seconds(hourSeconds))
            .arg(monitor.lineCount())
            .arg(monitor.heldLineCount())
            .arg(double(QFileInfo(monitor.spillFilePath()).size()) / 1e6, 0, 'f', 1)
            .arg(atStart, 0, 'f', 1)
            .arg(afterHour, 0, 'f', 1)
            .arg(afterLine, 0, 'f', 1));
    return {std::max(afterHour, afterLine), window.errors.count};
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const Run outOfSight = garbageHour(false);
    const Run onScreen = garbageHour(true);
    const double most = std::max(outOfSight.most, onScreen.most);
    const bool clean = outOfSight.errors == 0 && onScreen.errors == 0;
    printRow(QStringLiteral("resident memory during an hour of line-rate garbage, replayed"),
             QString::number(most, 'f', 1) + QStringLiteral(" MB"),
             QStringLiteral("target ") + QString::number(TargetMB, 'f', 0) + QStringLiteral(" MB"),
             most / TargetMB, QStringLiteral("<= 200 MB"), clean && most <= TargetMB ? "yes" : "NO");
    return 0;
}
