#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace oxa::bench {

// The simulated unit as its own process on a pseudo-terminal, driven through its control input.
class OxasimProcess {
public:
    ~OxasimProcess();

    // Starts oxasim with `arguments` and waits for its "PTY <slave>" line.
    bool start(const QStringList &arguments, QString *error);
    QString slavePath() const { return m_slave; }
    // One control line ("dtr 1", "dump", ...).
    void control(const QByteArray &line);
    // The lines of a control reply that ends in "end", without that line.
    QByteArray listing(const QByteArray &command);
    void quit();

private:
    QProcess m_process;
    QString m_slave;
};

} // namespace oxa::bench
