#pragma once

#include "seams.h"

#include <QObject>

class QWidget;

namespace oxa {

// Set once the program has been asked to end (SIGTERM, SIGINT): from then on no dialog waits for
// the user, so the window can close and write its settings.
void setTerminating();
bool terminating();

// Real time on the event loop: the window goes on meanwhile, and the session holds what the unit sends
// until the pause is over.
class EventLoopPause : public Pause {
public:
    void after(int milliseconds, std::function<void()> then) override;

private:
    QObject m_context; // nothing runs once the pause is gone
};

// A message box titled with the application title.
class MessageBoxReport : public ErrorReport {
public:
    explicit MessageBoxReport(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }
    void report(const QString &message) override;

private:
    QWidget *m_parent;
};

// The platform's file dialogs and the port choice dialog.
class PlatformDialogs : public Dialogs {
public:
    explicit PlatformDialogs(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }
    std::optional<QString> choosePort(const QList<PortEntry> &ports, const QString &preselect) override;
    QString openFileName(const QString &filter) override;
    QString saveFileName(const QString &filter) override;
    bool confirm(const QString &question) override;

private:
    QWidget *m_parent;
};

} // namespace oxa
