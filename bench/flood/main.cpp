// A unit floods the line with 10,000 lines the window only logs (network registration, rings, new
// messages), at the line's rate of 11,520 bytes a second. The window runs with the program's real
// pauses and the monitor page on screen. Clicks are handled only by the main event loop outside a
// handler (a handler's pauses let no user input through), so the figure is the longest stretch in which
// a timer of that loop did not get to run: the longest a click would have waited. Asserts nothing.
#include "benchsupport.h"
#include "monitor.h"
#include "productionseams.h"
#include "replayport.h"
#include "tform1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

using namespace oxa;
using namespace oxa::bench;

namespace {

constexpr int Lines = 10000;
constexpr double LineBytesPerSecond = 11520.0;
constexpr double TargetMs = 300.0;

QByteArray unsolicitedLines() {
    const QByteArray kinds[] = {"+CREG: 0,1", "+CREG: 0,5", "RING", "+CMTI: \"SM\",3", "NO CARRIER"};
    QByteArray stream;
    for (int i = 0; i < Lines; ++i)
        stream += "\r\n" + kinds[i % std::size(kinds)] + "\r\n";
    return stream;
}

// Brings a widget into view: every tab page on its way up becomes the current one.
void bringIntoView(QWidget *widget) {
    for (QWidget *child = widget; child && child->parentWidget(); child = child->parentWidget())
        if (auto *tabs = qobject_cast<QTabWidget *>(child->parentWidget()->parentWidget()))
            tabs->setCurrentWidget(child);
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    ReplayPort port;
    EventLoopPause pause;
    PrintedErrors errors;
    FixedPortDialogs dialogs;
    TForm1 form({&port, &pause, &errors, &dialogs}, folder.filePath(QStringLiteral("OXAset")));
    form.start();
    form.show();
    bringIntoView(form.ctl<QWidget>("Monitor"));
    QCoreApplication::processEvents();

    const QByteArray stream = unsolicitedLines();
    const qint64 linesBefore = form.monitor()->lineCount();
    QElapsedTimer clock;
    clock.start();
    qsizetype delivered = 0;
    // The line: every millisecond the bytes that are due by now.
    QTimer line;
    line.setTimerType(Qt::PreciseTimer);
    line.setInterval(1);
    QObject::connect(&line, &QTimer::timeout, [&] {
        const auto due =
            std::min<qsizetype>(stream.size(), qsizetype(clock.nsecsElapsed() / 1e9 * LineBytesPerSecond));
        if (due > delivered) {
            port.deliver(stream.mid(delivered, due - delivered));
            delivered = due;
        }
    });
    // The probe: when did the main loop, outside any handler, last get to run?
    qint64 lastFree = 0;
    qint64 longestStall = 0;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(1);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (form.handlerRunning())
            return;
        const qint64 now = clock.nsecsElapsed();
        longestStall = std::max(longestStall, now - lastFree);
        lastFree = now;
    });
    line.start();
    probe.start();
    const double expectedSeconds = double(stream.size()) / LineBytesPerSecond;
    const bool arrived =
        spin([&] { return delivered == stream.size(); }, int(expectedSeconds * 1000) + 60000);
    spin([] { return false; }, 200); // the last lines reach the monitor
    line.stop();
    probe.stop();

    const double stallMs = double(longestStall) / 1e6;
    const qint64 logged = form.monitor()->lineCount() - linesBefore;
    // The module frames each line with CR LF before and after it: an empty line is logged between two.
    const bool whole = arrived && logged == 2 * Lines && errors.count == 0;
    printRow(QStringLiteral("longest event-loop stall, 10,000 unsolicited lines at line rate"),
             millis(stallMs), QStringLiteral("target ") + millis(TargetMs), stallMs / TargetMs,
             QStringLiteral("<= 300 ms"), whole && stallMs <= TargetMs ? "yes" : "NO");
    printNote(QStringLiteral("flood: %1 lines (%2 bytes, framed as the module frames them) in %3 at the line "
                             "rate, %4 log lines, %5 bytes sent to the unit meanwhile")
                  .arg(Lines)
                  .arg(stream.size())
                  .arg(seconds(double(clock.nsecsElapsed()) / 1e9))
                  .arg(logged)
                  .arg(port.sentBytes));
    return 0;
}
