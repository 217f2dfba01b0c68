#pragma once

#include "fakeseams.h"
#include "fault.h"
#include "monitor.h"
#include "serialline.h"
#include "settle.h"
#include "simulatedport.h"
#include "tform1.h"
#include "unithost.h"

#include <QCoreApplication>
#include <QDir>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <utility>

namespace oxa::test {

// The simulated unit's port with a tap on the program's side: it sees every command line the program
// sends and can strike at one of them, the way a real line fails in the middle of an exchange.
class TapPort : public PortBackend {
    Q_OBJECT
public:
    explicit TapPort(std::shared_ptr<sim::UnitHost> host) : m_port(std::move(host)) {
        connect(&m_port, &PortBackend::readyRead, this, &PortBackend::readyRead);
        connect(&m_port, &PortBackend::bytesWritten, this, &PortBackend::bytesWritten);
        connect(&m_port, &PortBackend::failed, this, &PortBackend::failed);
    }

    bool open(QString *error) override { return m_port.open(error); }
    void close() override { m_port.close(); }
    bool isOpen() const override { return m_port.isOpen(); }
    QByteArray readAll() override { return std::exchange(m_injected, {}) + m_port.readAll(); }
    // Bytes on the line that the unit did not send (noise, a second device): they arrive now.
    void inject(const QByteArray &bytes) {
        m_injected += bytes;
        emit readyRead();
    }
    qint64 bytesToWrite() const override { return m_port.bytesToWrite(); }
    bool setDtr(bool raised) override { return m_port.setDtr(raised); }

    void write(const QByteArray &bytes) override {
        if (onWrite && !onWrite(bytes))
            return;
        m_port.write(bytes);
    }
    // Sees each write first; false swallows it.
    std::function<bool(const QByteArray &)> onWrite;

private:
    sim::SimulatedPort m_port;
    QByteArray m_injected;
};

// The window on the real serial line, through a TapPort, to an in-process simulated unit on a manual
// clock. Every port the line opens (also after the port was lost) is a new tap with the same hook.
struct FaultWindow {
    explicit FaultWindow(sim::UnitOptions options, const QString &exeName = QStringLiteral("GSMQuend"))
        : host(sim::UnitHost::forTests(options)),
          line([this](const QList<PortEntry> &ports, const QString &preselect) {
              return dialogs.choosePort(ports, preselect);
          }),
          form({&line, &pause, &errors, &dialogs}, folder.filePath(exeName)) {
        line.setPortLister([] { return QList<PortEntry>{}; });
        line.addExtraPort({sim::SimulatedPortName, {}}, [this](const QString &) {
            auto tap = std::make_unique<TapPort>(host);
            tap->onWrite = [this](const QByteArray &bytes) { return onWrite ? onWrite(bytes) : true; };
            tapPort = tap.get();
            return tap;
        });
        offerPort();
    }

    // The port choice answers with the simulated unit once more.
    void offerPort() { dialogs.portAnswers.enqueue(QString::fromLatin1(sim::SimulatedPortName)); }

    sim::Unit &unit() { return host->unit(); }

    // Turns the event loop and the unit until `done` holds or the turns run out.
    bool settle(const std::function<bool()> &done, int turns = 20000) {
        return settleUntil(*host, done, turns);
    }
    // Until the monitor has been quiet for a while and nothing waits to be read.
    void settle(int turns = 20000) { settleQuiet(*host, form, line, turns); }

    QTemporaryDir folder;
    std::shared_ptr<sim::UnitHost> host;
    RecordingPause pause;
    RecordingErrors errors;
    ScriptedDialogs dialogs;
    SerialLine line;
    TForm1 form;
    std::function<bool(const QByteArray &)> onWrite;
    // The tap of the port opened last; null once the line has let go of it.
    QPointer<TapPort> tapPort;
};

} // namespace oxa::test
