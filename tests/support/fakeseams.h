#pragma once

#include "fakeport.h"
#include "seams.h"

#include <QQueue>
#include <functional>

namespace oxa::test {

// Records each pause and goes on at once; `during` runs first (bytes arriving meanwhile).
class RecordingPause : public Pause {
public:
    void after(int milliseconds, std::function<void()> then) override {
        pauses << milliseconds;
        if (during)
            during();
        then();
    }
    QList<int> pauses;
    std::function<void()> during;
};

class RecordingErrors : public ErrorReport {
public:
    void report(const QString &message) override { messages << message; }
    QStringList messages;
};

// Answers the dialogs from queues; an empty queue answers "cancelled".
class ScriptedDialogs : public Dialogs {
public:
    std::optional<QString> choosePort(const QList<PortEntry> &ports, const QString &preselect) override {
        offeredPorts = ports;
        offeredPreselect = preselect;
        if (portAnswers.isEmpty())
            return std::nullopt;
        return portAnswers.dequeue();
    }
    QString openFileName(const QString &filter) override {
        filters << filter;
        return openAnswers.isEmpty() ? QString() : openAnswers.dequeue();
    }
    QString saveFileName(const QString &filter) override {
        filters << filter;
        return saveAnswers.isEmpty() ? QString() : saveAnswers.dequeue();
    }
    bool confirm(const QString &question) override {
        questions << question;
        return confirmAnswers.isEmpty() ? false : confirmAnswers.dequeue();
    }
    QQueue<std::optional<QString>> portAnswers;
    QQueue<bool> confirmAnswers;
    QStringList questions;
    QQueue<QString> openAnswers, saveAnswers;
    QList<PortEntry> offeredPorts;
    QString offeredPreselect;
    QStringList filters;
};

// Everything a window under test needs, wired together.
struct FakeSeams {
    FakePort port;
    RecordingPause pause;
    RecordingErrors errors;
    ScriptedDialogs dialogs;
    Seams seams() { return {&port, &pause, &errors, &dialogs}; }
};

} // namespace oxa::test
