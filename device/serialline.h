#pragma once

#include "portbackend.h"
#include "portlayer.h"

#include <QList>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

namespace oxa {

// One entry of the port choice: the name to open and what it is.
struct PortEntry {
    QString name;
    QString description;
};

// Asks the user which port to open; nullopt when the choice was cancelled.
using PortChooser =
    std::function<std::optional<QString>(const QList<PortEntry> &ports, const QString &preselect)>;
// Lists the ports present right now.
using PortLister = std::function<QList<PortEntry>()>;
using BackendFactory = std::function<std::unique_ptr<PortBackend>(const QString &name)>;

// The program's serial line: a port chosen on first use, a bounded output queue that takes a text
// whole or not at all, an input queue read byte by byte, and DTR remembered as last set.
class SerialLine : public PortLayer {
    Q_OBJECT
public:
    explicit SerialLine(PortChooser chooser, QObject *parent = nullptr);
    ~SerialLine() override;

    void send(const QByteArray &bytes) override;
    int bytesAvailable() const override;
    char readChar() override;
    int freeOutputSpace() const override;
    void setDtr(bool raised) override;
    bool dtr() const override;
    int portNumber() const override;
    QString portName() const override { return m_portNumber != 0 ? m_portName : QString(); }
    void close() override;

    // The port the choice preselects (from the settings file): a name, or a number N meaning COMN.
    void setPreferredPort(const QString &port) { m_preferred = port; }
    // Ports not found by the system (the simulated unit), listed after the real ones.
    void addExtraPort(const PortEntry &entry, BackendFactory factory);
    // Replaces the system's port list and the real-port factory (tests, tools).
    void setPortLister(PortLister lister) { m_lister = std::move(lister); }
    void setBackendFactory(BackendFactory factory) { m_factory = std::move(factory); }

    QString currentPortName() const { return m_portName; }
    QList<PortEntry> availablePorts() const;

    static QList<PortEntry> systemPorts();

private:
    void openChosenPort();
    void onReadyRead();
    void onFailed(const QString &message);

    PortChooser m_chooser;
    PortLister m_lister;
    BackendFactory m_factory;
    QList<std::pair<PortEntry, BackendFactory>> m_extra;
    std::unique_ptr<PortBackend> m_backend;
    QString m_preferred;
    QString m_portName;
    QByteArray m_input;
    qsizetype m_readPos = 0;
    bool m_dtr = false;
    bool m_dtrNoticeGiven = false;
    int m_portNumber = 0;
};

} // namespace oxa
