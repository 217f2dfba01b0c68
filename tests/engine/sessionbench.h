#pragma once

// The session and its configuration on the real serial line to an in-process simulated unit on a
// manual clock, with no window: what a command-line tool or a test gets.
#include "fault.h"
#include "pausetimer.h"
#include "serialline.h"
#include "simulatedport.h"
#include "unitconfiguration.h"
#include "unithost.h"
#include "unitsession.h"

#include <QCoreApplication>
#include <QQueue>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

namespace oxa::test {

// Records each pause and goes on at once; `during` runs first (the line moves on meanwhile).
class RecordingPauses : public PauseTimer {
public:
    void after(int milliseconds, std::function<void()> then) override {
        pauses << milliseconds;
        if (during)
            during(milliseconds);
        then();
    }
    QList<int> pauses;
    std::function<void(int)> during;
};

class ScriptedQuestions : public SessionQuestions {
public:
    bool confirm(const QString &question) override {
        questions << question;
        return answers.isEmpty() ? false : answers.dequeue();
    }
    QStringList questions;
    QQueue<bool> answers;
};

struct SessionBench {
    explicit SessionBench(sim::UnitOptions options = defaultOptions())
        : host(sim::UnitHost::forTests(options)), line([](const QList<PortEntry> &, const QString &) {
              return QString::fromLatin1(sim::SimulatedPortName);
          }),
          session(line, configuration, pauses, questions) {
        line.setPortLister([] { return QList<PortEntry>{}; });
        std::shared_ptr<sim::UnitHost> shared = host;
        line.addExtraPort({sim::SimulatedPortName, {}},
                          [shared](const QString &) { return std::make_unique<sim::SimulatedPort>(shared); });
        session.setBackupFolder(folder.filePath(QStringLiteral("backups")));
        // What the line does while the session pauses: the unit takes bytes and answers (it waits).
        pauses.during = [this](int) {
            for (int i = 0; i < 20; ++i) {
                QCoreApplication::processEvents(QEventLoop::AllEvents);
                host->runDue();
            }
        };
        QObject::connect(&session, &UnitSession::failed,
                         [this](const QString &message) { failures << message; });
        QObject::connect(&session, &UnitSession::finished,
                         [this](UnitOperation, const QString &outcome) { outcomes << outcome; });
    }

    static sim::UnitOptions defaultOptions() {
        sim::UnitOptions options;
        options.startRunning = true;
        options.timing = sim::Timing::instant();
        return options;
    }

    sim::Unit &unit() { return host->unit(); }

    // Turns the event loop and the unit until `done` holds (or the turns run out).
    template <class Predicate> bool settle(Predicate done, int turns = 200000) {
        for (int i = 0; i < turns; ++i) {
            if (done())
                return true;
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            host->runDue();
        }
        return done();
    }
    // Until the line has been quiet for a while and nothing waits to be read.
    void settle() {
        int quiet = 0;
        for (int i = 0; i < 200000 && quiet < 50; ++i) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            host->runDue();
            quiet = line.bytesAvailable() == 0 && host->bytesToWrite() == 0 ? quiet + 1 : 0;
        }
    }
    // Start-up, then Stop: the script stops and the unit is read whole.
    bool startAndStop() {
        if (!session.start())
            return false;
        settle();
        session.stop();
        return settle([this] { return configuration.listingsApplied() > 0 && !session.reading(); });
    }

    QTemporaryDir folder;
    std::shared_ptr<sim::UnitHost> host;
    SerialLine line;
    UnitConfiguration configuration;
    RecordingPauses pauses;
    ScriptedQuestions questions;
    UnitSession session;
    QStringList failures;
    QStringList outcomes;
};

} // namespace oxa::test
