// Logs 100,000 time-stamped lines on the monitor page, in view, and prints what the last 1,000
// lines cost against the first 1,000, and how much memory the log took. The event loop turns after
// every 20 lines, as it does between pieces of a read. Asserts nothing.
#include "benchsupport.h"
#include "monitor.h"
#include "replayport.h"
#include "tform1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTabWidget>

using namespace oxa;
using namespace oxa::bench;

namespace {

constexpr int Lines = 100000;
constexpr int Block = 1000;
constexpr int LinesPerTurn = 20;

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
    ReplayWindow window;
    TForm1 &form = window.form;
    bringIntoView(form.ctl<QWidget>("Monitor"));
    QCoreApplication::processEvents();

    const double before = residentMB();
    QList<double> blockMs;
    QElapsedTimer timer;
    for (int i = 0; i < Lines; ++i) {
        if (i % Block == 0)
            timer.start();
        form.log(QStringLiteral("[22:51:%1]   +CPBR: %2,\"+420603%3\",145,\"B%4-%5\"")
                     .arg(i % 60, 2, 10, QLatin1Char('0'))
                     .arg(i % 250 + 1)
                     .arg(100000 + i % 900000)
                     .arg(i % 10 + 1)
                     .arg(i % 7 + 1));
        if (i % LinesPerTurn == LinesPerTurn - 1)
            QCoreApplication::processEvents();
        if (i % Block == Block - 1)
            blockMs << double(timer.nsecsElapsed()) / 1e6;
    }
    const double after = residentMB();
    const double first = blockMs.first();
    const double last = blockMs.last();
    printRow(QStringLiteral("monitor, last 1,000 of 100,000 lines"), millis(last),
             QStringLiteral("first 1,000: ") + millis(first), last / first, QStringLiteral("<= 2 x first"),
             last <= 2 * first && form.monitor()->lineCount() == Lines ? "yes" : "NO");
    printNote(QStringLiteral("monitor: 100,000 lines took %1 MB of resident memory (%2 bytes a line), "
                             "the window %3 MB in all")
                  .arg(after - before, 0, 'f', 1)
                  .arg((after - before) * 1e6 / Lines, 0, 'f', 0)
                  .arg(after, 0, 'f', 1));
    return 0;
}
