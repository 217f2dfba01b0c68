#pragma once

#include <QString>
#include <optional>

#include "pausetimer.h"
#include "serialline.h"

namespace oxa {

// The unit's protocol pauses: states of the session, counted by a timer (tests record them and go on).
using Pause = PauseTimer;

// The general error report: a message box titled with the application title, or a record in tests.
class ErrorReport {
public:
    virtual ~ErrorReport() = default;
    virtual void report(const QString &message) = 0;
};

// The modal dialogs the program asks the user through: port choice, open and save file.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual std::optional<QString> choosePort(const QList<PortEntry> &ports, const QString &preselect) = 0;
    // `filter` in Qt's form ("OXA files (*.oxa)"); an empty result means cancelled.
    virtual QString openFileName(const QString &filter) = 0;
    virtual QString saveFileName(const QString &filter) = 0;
    // A yes/no question; true for yes. No is the safe answer, and the default.
    virtual bool confirm(const QString &question) = 0;
};

class PortLayer;

// Everything TForm1 needs from outside; the window owns none of it.
struct Seams {
    PortLayer *port = nullptr;
    Pause *pause = nullptr;
    ErrorReport *errors = nullptr;
    Dialogs *dialogs = nullptr;
};

} // namespace oxa
