#include "executablepath.h"
#include "productionseams.h"
#include "serialline.h"
#include "simulatedport.h"
#include "tform1.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstring>

#ifdef Q_OS_UNIX
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int signalPipe[2] = {-1, -1};
void onTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[0], &byte, 1);
}

// Installed first thing, so that a SIGTERM or SIGINT during start-up is not lost.
void catchTerminationSignals() {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

// SIGTERM and SIGINT close the window as the user would, so the settings are written. A dialog
// waiting for the user (the port choice, a message) gives way first; the window closes as soon as
// the handler that opened it has finished.
void closeOnTerminationSignals(QWidget *window) {
    if (signalPipe[1] < 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, window);
    QObject::connect(notifier, &QSocketNotifier::activated, window, [window] {
        char byte;
        [[maybe_unused]] const auto read = ::read(signalPipe[1], &byte, 1);
        oxa::setTerminating();
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
        window->close();
    });
}
} // namespace
#endif

namespace {

bool asksForHelpOrVersion(int argc, char *argv[]) {
    for (int i = 1; i < argc; ++i)
        for (const char *option : {"-h", "--help", "--help-all", "-v", "--version"})
            if (std::strcmp(argv[i], option) == 0)
                return true;
    return false;
}

// Answered without a window, so that they work where there is no display. Nothing else on the command
// line changes how the program starts: the name it was started by brands it (see the manual page).
int answerHelpOrVersion(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("OXAset"));
    QCoreApplication::setApplicationVersion(QStringLiteral(OXA_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "main", "Configures GSM door-intercom and gate-opener units over a serial line.\n\n"
                "Started under another name (a copy or a link), the program takes that name's branding and "
                "settings file: NAME.ini beside the executable, or in ~/.config/OXAset/ where that file "
                "cannot be saved."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(app); // prints and exits
    return 0;
}

} // namespace

int main(int argc, char *argv[]) {
    if (asksForHelpOrVersion(argc, argv))
        return answerHelpOrVersion(argc, argv);
#ifdef Q_OS_UNIX
    catchTerminationSignals();
#endif
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("OXAset"));
    QApplication::setApplicationDisplayName(QStringLiteral("OXAset"));
    QApplication::setApplicationVersion(QStringLiteral(OXA_VERSION));
    // Ties the window to its launcher and icon where the desktop asks (Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral(OXA_APP_ID));
    QApplication::setQuitOnLastWindowClosed(true);

    oxa::PlatformDialogs dialogs;
    oxa::MessageBoxReport errors;
    oxa::EventLoopPause pause;
    oxa::SerialLine line([&dialogs](const QList<oxa::PortEntry> &ports, const QString &preselect) {
        return dialogs.choosePort(ports, preselect);
    });

    // Without hardware, the simulated unit is there to try the program on.
    line.addExtraPort({QString::fromLatin1(oxa::sim::SimulatedPortName), QObject::tr("a unit simulated in this program")},
                      [](const QString &) { return oxa::sim::createSimulatedPort(); });

    oxa::TForm1 form({&line, &pause, &errors, &dialogs}, oxa::invokedExecutablePath(argc > 0 ? argv[0] : nullptr));
    dialogs.setParent(&form);
    errors.setParent(&form);
    QObject::connect(&form, &oxa::TForm1::portPreferenceRead, &line, &oxa::SerialLine::setPreferredPort);
#ifdef Q_OS_UNIX
    closeOnTerminationSignals(&form);
#endif
    form.start();
    form.show();
    return app.exec();
}
