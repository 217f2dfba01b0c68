#pragma once

#include "seams.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QList>
#include <QString>
#include <cstdio>

namespace oxa::bench {

// Errors go to stderr and are counted: a benchmark run with an error is not a measurement.
class PrintedErrors : public ErrorReport {
public:
    void report(const QString &message) override;
    int count = 0;
};

// The port choice answered at once with a fixed port; no file dialogs.
class FixedPortDialogs : public Dialogs {
public:
    explicit FixedPortDialogs(QString port = {}) : m_port(std::move(port)) {}
    std::optional<QString> choosePort(const QList<PortEntry> &, const QString &) override;
    QString openFileName(const QString &) override { return {}; }
    QString saveFileName(const QString &) override { return {}; }
    bool confirm(const QString &) override { return false; }

private:
    QString m_port;
};

// Pauses recorded and returned at once, for measuring the program's own work.
class RecordingPause : public Pause {
public:
    void after(int milliseconds, std::function<void()> then) override {
        totalMs += milliseconds;
        then();
    }
    qint64 totalMs = 0;
};

// Runs the event loop until `done` holds or the deadline passes; says whether `done` held.
template <typename Done> bool spin(Done done, int milliseconds) {
    const QDeadlineTimer deadline(milliseconds);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return done();
}

double median(QList<double> values);

// Resident memory of this process in MB of 10^6 bytes (0 where /proc is missing).
double residentMB();

// One line of the table ./bench prints:
// ROW|what|median|held against|ratio|target|met
// `met` is "yes", "NO" or "-" (nothing to hold it against).
void printRow(const QString &what, const QString &median, const QString &against, double ratio,
              const QString &target, const char *met);
// A remark printed under the table.
void printNote(const QString &text);

QString seconds(double s);
QString millis(double ms);

} // namespace oxa::bench
