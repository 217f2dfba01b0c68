// Start-up: from the moment the process is started to the window's first paint, and the resident
// memory at that moment. The parent starts this same program with --child several times; the child
// does what the program's main does (the same seams, the simulated unit in the port list, start-up,
// show), except that the port choice is answered by oxasim's pseudo-terminal instead of a person.
// Both read the same monotonic clock. Asserts nothing.
#include "benchsupport.h"
#include "oxasimprocess.h"
#include "productionseams.h"
#include "serialline.h"
#include "simulatedport.h"
#include "tform1.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <ctime>

using namespace oxa;
using namespace oxa::bench;

namespace {

constexpr int Runs = 7;
constexpr double TargetSeconds = 0.5;
constexpr double TargetMB = 80;

qint64 monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Sees the window's first paint, then reports once the event loop has finished it.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, [] {
                std::printf("SHOWN %lld %.1f\n", static_cast<long long>(monotonicNs()), residentMB());
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

int child(int argc, char *argv[], const QString &slave, const QString &executablePath) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("OXAset"));
    QApplication::setApplicationDisplayName(QStringLiteral("OXAset"));

    FixedPortDialogs dialogs(slave);
    MessageBoxReport errors;
    EventLoopPause pause;
    SerialLine line([&dialogs](const QList<PortEntry> &ports, const QString &preselect) {
        return dialogs.choosePort(ports, preselect);
    });
    line.addExtraPort(
        {QString::fromLatin1(sim::SimulatedPortName), QObject::tr("a unit simulated in this program")},
        [](const QString &) { return sim::createSimulatedPort(); });
    TForm1 form({&line, &pause, &errors, &dialogs}, executablePath);
    errors.setParent(&form);
    QObject::connect(&form, &TForm1::portPreferenceRead, &line, &SerialLine::setPreferredPort);
    FirstPaint paint;
    form.installEventFilter(&paint);
    form.start();
    form.show();
    return app.exec();
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 4 && qstrcmp(argv[1], "--child") == 0)
        return child(argc, argv, QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));

    QCoreApplication app(argc, argv);
    OxasimProcess sim;
    QString error;
    if (!sim.start({"--instant", "--stopped"}, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    QTemporaryDir folder;
    const QString executablePath = folder.filePath(QStringLiteral("OXAset"));
    QList<double> times, memories;
    for (int run = 0; run < Runs; ++run) {
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const qint64 started = monotonicNs();
        process.start(QCoreApplication::applicationFilePath(), {"--child", sim.slavePath(), executablePath});
        process.waitForFinished(30000);
        const QList<QByteArray> words = process.readAllStandardOutput().trimmed().split(' ');
        if (words.size() != 3 || words.at(0) != "SHOWN") {
            std::fprintf(stderr, "the child did not report its window\n");
            return 1;
        }
        times << double(words.at(1).toLongLong() - started) / 1e9;
        memories << words.at(2).toDouble();
    }
    const double time = median(times);
    const double memory = median(memories);
    printRow(QStringLiteral("start-up to window shown (%1 runs)").arg(Runs), seconds(time),
             QStringLiteral("target ") + seconds(TargetSeconds), time / TargetSeconds,
             QStringLiteral("<= 0.5 s"), time <= TargetSeconds ? "yes" : "NO");
    printRow(QStringLiteral("resident memory at window shown"),
             QString::number(memory, 'f', 1) + QStringLiteral(" MB"), QStringLiteral("target 80 MB"),
             memory / TargetMB, QStringLiteral("<= 80 MB"), memory <= TargetMB ? "yes" : "NO");
    printNote(QStringLiteral("start-up includes the 200 ms pause between \"ATE0\" and \"AT+CGMI\"; the port "
                             "choice is answered at once"));
    return 0;
}
