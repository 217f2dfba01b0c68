#pragma once

#include "fakeseams.h"
#include "monitor.h"
#include "serialline.h"
#include "settle.h"
#include "simulatedport.h"
#include "tform1.h"
#include "unithost.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace oxa::test {

// The window on the real serial line, connected to an in-process simulated unit on a manual clock:
// the unit answers on the next turns of the event loop, and the program's pauses are recorded.
struct SimWindow {
    explicit SimWindow(sim::UnitOptions options = defaultOptions(),
                       const QString &exeName = QStringLiteral("GSMQuend"))
        : exeName(exeName), host(sim::UnitHost::forTests(options)),
          line([this](const QList<PortEntry> &ports, const QString &preselect) {
              return dialogs.choosePort(ports, preselect);
          }),
          form({&line, &pause, &errors, &dialogs}, folder.filePath(exeName)) {
        line.setPortLister([] { return QList<PortEntry>{}; });
        std::shared_ptr<sim::UnitHost> shared = host;
        line.addExtraPort({sim::SimulatedPortName, {}},
                          [shared](const QString &) { return std::make_unique<sim::SimulatedPort>(shared); });
        dialogs.portAnswers.enqueue(QString::fromLatin1(sim::SimulatedPortName));
    }

    static sim::UnitOptions defaultOptions() {
        sim::UnitOptions options;
        options.startRunning = true;
        options.timing = sim::Timing::instant();
        return options;
    }

    sim::Unit &unit() { return host->unit(); }

    // Writes the settings file the window reads when it starts.
    void writeSettings(const QByteArray &content) {
        QFile file(folder.filePath(exeName + QStringLiteral(".ini")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    // Lets the unit and the program talk until `done` holds (or the event loop has turned enough).
    template <class Predicate> bool settle(Predicate done, int turns = 200000) {
        return settleUntil(*host, done, turns);
    }
    // Lets every exchange in flight finish: the line has been quiet for a while.
    void settle() { settleQuiet(*host, form, line, 200000); }

    // The stop handshake and the read that follows it, as the user starts them.
    void stopAndRead() {
        form.StopOXAClick();
        settle();
    }

    QTemporaryDir folder;
    QString exeName;
    std::shared_ptr<sim::UnitHost> host;
    RecordingPause pause;
    RecordingErrors errors;
    ScriptedDialogs dialogs;
    SerialLine line;
    TForm1 form;
};

} // namespace oxa::test
