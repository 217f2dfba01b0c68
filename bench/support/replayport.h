#pragma once

#include "benchsupport.h"
#include "portlayer.h"
#include "tform1.h"

#include <QTemporaryDir>

namespace oxa::bench {

// A port without a line: what the program sends is counted and dropped, and the benchmark hands it
// received bytes in pieces, announced as a real port announces them. Reading costs O(1) a byte, so
// the figures are the program's own.
class ReplayPort : public PortLayer {
    Q_OBJECT
public:
    using PortLayer::PortLayer;

    void send(const QByteArray &bytes) override;
    int bytesAvailable() const override { return int(m_input.size() - m_readPos); }
    char readChar() override;
    int freeOutputSpace() const override { return OutputQueueSize; }
    void setDtr(bool raised) override { m_dtr = raised; }
    bool dtr() const override { return m_dtr; }
    int portNumber() const override { return m_open ? 1 : 0; }
    void close() override { m_open = false; }

    // Queues `bytes` and announces them.
    void deliver(const QByteArray &bytes);

    qint64 sentBytes = 0;

private:
    QByteArray m_input;
    qsizetype m_readPos = 0;
    bool m_open = false;
    bool m_dtr = false;
};

// The window, started and shown, on a ReplayPort with recorded pauses: only the program's own work
// takes time.
struct ReplayWindow {
    ReplayWindow() : form({&port, &pause, &errors, &dialogs}, folder.filePath(QStringLiteral("OXAset"))) {
        form.start();
        form.show();
    }

    QTemporaryDir folder;
    ReplayPort port;
    RecordingPause pause;
    PrintedErrors errors;
    FixedPortDialogs dialogs;
    TForm1 form;
};

} // namespace oxa::bench
