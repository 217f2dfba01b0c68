#pragma once

#include "fakeseams.h"
#include "monitor.h"
#include "tform1.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTimer>

namespace oxa::test {

// A port whose output queue fills with what is sent and drains only as virtual time passes in the
// window's pauses, at the line rate (115200 bit/s, 10 bits a byte).
class QueuePort : public FakePort {
public:
    using FakePort::FakePort;
    void send(const QByteArray &bytes) override {
        FakePort::send(bytes);
        freeAtSend << m_freeSpace;
        m_freeSpace -= int(bytes.size());
    }
    void drainFor(int milliseconds) {
        if (!stalled)
            m_freeSpace = std::min(OutputQueueSize, m_freeSpace + milliseconds * 11520 / 1000);
    }
    QList<int> freeAtSend; // the free space each send found
    bool stalled = false;  // flow control held: nothing leaves the queue
};

// A started window on a QueuePort, in a folder of its own that is also the current folder, so that
// the list's relative names find the files written there.
struct UploadWindow {
    explicit UploadWindow(const QByteArray &settings = {}) {
        previousFolder = QDir::currentPath();
        QDir::setCurrent(folder.path());
        if (!settings.isEmpty()) {
            QFile ini(folder.filePath("OXAset.ini"));
            ini.open(QIODevice::WriteOnly);
            ini.write(settings);
        }
        pause.during = [this] { port.drainFor(pause.pauses.last()); };
        form = std::make_unique<TForm1>(Seams{&port, &pause, &errors, &dialogs}, folder.filePath("OXAset"));
        form->start();
        port.sent.clear();
        port.freeAtSend.clear();
        pause.pauses.clear();
    }
    ~UploadWindow() { QDir::setCurrent(previousFolder); }

    void writeFile(const QString &name, const QByteArray &bytes) {
        QFile file(folder.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }
    void setList(const QString &text) { form->ctl<QPlainTextEdit>("List")->setPlainText(text); }
    void upgrade() { click("Upgrade"); }
    void click(const char *button) {
        QMetaObject::invokeMethod(form->control(QLatin1String(button)), "click");
    }
    // What a hook does when the parser calls it: inside a handler.
    void inHandler(const std::function<void()> &work) { form->runHandler(work); }

    QProgressBar *progress() const { return form->ctl<QProgressBar>("Prubeh"); }
    QStringList monitorLines() const { return form->monitor()->lines(); }
    int monitorCount(const QString &line) const { return int(monitorLines().count(line)); }
    bool uploading() const { return form->session().uploadStepWaiting(); }
    // The step's reply timer runs out, as the event loop would let it.
    void timeOutStep() {
        QTimer *timer = form->session().uploadTimeout();
        timer->start(0);
        for (int turn = 0; turn < 100 && timer->isActive(); ++turn)
            QCoreApplication::processEvents();
    }

    QTemporaryDir folder;
    QString previousFolder;
    QueuePort port;
    RecordingPause pause;
    RecordingErrors errors;
    ScriptedDialogs dialogs;
    std::unique_ptr<TForm1> form;
};

// Every byte value, then more of them, to `size` bytes.
inline QByteArray patternBytes(qsizetype size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / 256) & 0xff);
    return bytes;
}

} // namespace oxa::test
