#pragma once

#include "seams.h"

class QWidget;

namespace oxa {

// Set once the program has been asked to end (SIGTERM, SIGINT): from then on no dialog waits for
// the user, so the window can close and write its settings.
void setTerminating();
bool terminating();

// Waits in a local event loop that paints the window but leaves user input queued.
class EventLoopPause : public Pause {
public:
    void pause(int milliseconds) override;
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
