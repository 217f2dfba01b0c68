#pragma once

#include <QtGlobal>

#if defined(Q_OS_UNIX)

#include "unithost.h"

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <memory>

namespace oxa::sim {

// Serves a unit on a pseudo-terminal: the program opens the slave as if it were a serial port. The
// server keeps a slave descriptor of its own open, so that the master stays usable while no program
// has the port open, as a unit stays powered with no cable plugged in.
class PtyServer : public QObject {
    Q_OBJECT
public:
    explicit PtyServer(UnitHost &host, QObject *parent = nullptr);
    ~PtyServer() override;

    bool open(QString *error);
    QString slavePath() const { return m_slavePath; }
    // Closes the pseudo-terminal: the program on the slave sees the line go away.
    void hangUp();

private:
    void onReadable();
    void onWritable();
    void onOutput(const QByteArray &bytes);
    void flush();

    UnitHost &m_host;
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    std::unique_ptr<QSocketNotifier> m_readNotifier;
    std::unique_ptr<QSocketNotifier> m_writeNotifier;
    QByteArray m_pending;
};

} // namespace oxa::sim

#endif
