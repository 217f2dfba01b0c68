// Bytes from the unit through the whole window, as a port hands them over: in pieces, each announced,
// the receive handler reacting to every line and the monitor logging it. Whatever arrives, the window
// stays within its bounds: the line being assembled never passes 4 KB, the monitor holds no more than
// its limits in memory (the rest goes to its file) and still gives back every line, and no handler is
// left running. Small limits make the monitor move lines to its file within one input.
#include "fuzzcheck.h"

#include "linereader.h"
#include "monitor.h"
#include "portlayer.h"
#include "seams.h"
#include "tform1.h"

#include <QApplication>
#include <QByteArray>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

using namespace oxa;

class PiecePort : public PortLayer {
public:
    void send(const QByteArray &bytes) override {
        m_open = true;
        sentBytes += bytes.size();
    }
    int bytesAvailable() const override { return int(m_input.size() - m_readPos); }
    char readChar() override {
        if (m_readPos >= m_input.size())
            return 0;
        const char byte = m_input.at(m_readPos++);
        if (m_readPos == m_input.size()) {
            m_input.clear();
            m_readPos = 0;
        }
        return byte;
    }
    int freeOutputSpace() const override { return OutputQueueSize; }
    void setDtr(bool raised) override { m_dtr = raised; }
    bool dtr() const override { return m_dtr; }
    int portNumber() const override { return m_open ? 1 : 0; }
    void close() override { m_open = false; }

    void deliver(QByteArrayView bytes) {
        m_input.append(bytes);
        emit dataAvailable(bytesAvailable());
    }

    qint64 sentBytes = 0;

private:
    QByteArray m_input;
    qsizetype m_readPos = 0;
    bool m_open = false;
    bool m_dtr = false;
};

class InstantPause : public Pause {
public:
    void after(int, std::function<void()> then) override { then(); }
};

class CountedErrors : public ErrorReport {
public:
    void report(const QString &) override { ++count; }
    int count = 0;
};

class NoDialogs : public Dialogs {
public:
    std::optional<QString> choosePort(const QList<PortEntry> &, const QString &) override { return {}; }
    QString openFileName(const QString &) override { return {}; }
    QString saveFileName(const QString &) override { return {}; }
    bool confirm(const QString &) override { return false; }
};

// The window needs an application; the corpus replay brings its own.
void ensureApplication() {
    if (QCoreApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_window";
    static char *argv[] = {name, nullptr};
    static QApplication *application = new QApplication(argc, argv);
    (void)application;
}

constexpr Monitor::Limits SmallLimits{100, 6000};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    ensureApplication();
    if (size < 2)
        return 0;
    // The first byte: the size of the pieces the port hands over (1 to 64 bytes), whether the user
    // pressed Stop first (so that the unit's stop report and the read chain are answered), and whether
    // the monitor page is on screen (lines go to the view, and move out of it). The second: how many
    // times the rest comes (1 to 32), so that a short input makes a line longer than any reply, or more
    // lines than the monitor holds.
    const int pieceSize = (data[0] & 0x3f) + 1;
    const bool stopped = data[0] & 0x40;
    const bool monitorShown = data[0] & 0x80;
    const int repeats = data[1] % 32 + 1;
    const QByteArray bytes =
        QByteArray(reinterpret_cast<const char *>(data + 2), qsizetype(size - 2)).repeated(repeats);

    static QTemporaryDir folder;
    PiecePort port;
    InstantPause pause;
    CountedErrors errors;
    NoDialogs dialogs;
    TForm1 form({&port, &pause, &errors, &dialogs}, folder.filePath(QStringLiteral("OXAset")));
    form.start();
    Monitor &monitor = *form.monitor();
    monitor.setLimits(SmallLimits);
    if (stopped)
        form.ctl<QPushButton>("StopOXA")->click();

    qint64 logged = monitor.lineCount();
    for (qsizetype at = 0; at < bytes.size(); at += pieceSize) {
        port.deliver(QByteArrayView(bytes).sliced(at, std::min<qsizetype>(pieceSize, bytes.size() - at)));
        if (monitorShown)
            monitor.showPending();
        FUZZ_CHECK(!form.handlerRunning());
        FUZZ_CHECK(port.bytesAvailable() == 0);
        FUZZ_CHECK(form.session().partialLineSize() <= LineReader::MaxLineLength);
        // A line of the log is at most a time stamp, a cut line and a few words more: the log holds its
        // limits, and one note of its own beyond them.
        FUZZ_CHECK(monitor.heldLineCount() <= SmallLimits.lines + 1);
        FUZZ_CHECK(monitor.heldCharacters() <= SmallLimits.characters + 300);
        FUZZ_CHECK(monitor.lineCount() >= logged);
        logged = monitor.lineCount();
    }
    // Nothing was lost on the way to the file.
    FUZZ_CHECK(monitor.lines().size() == monitor.lineCount());
    return 0;
}
