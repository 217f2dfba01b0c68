#pragma once

#include "codepagecodec.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>

class QPlainTextEdit;
class QTemporaryFile;

namespace oxa {

// The traffic log on the monitor page: lines are only ever appended, never re-rendered as a whole.
// Lines reach the view in batches, a few times a second: appended one by one, each would be laid out
// on arrival, which costs more than everything else the receive handler does with it. Appended
// together, only the lines in view are ever laid out. While the monitor page is not on screen the
// lines wait until it is shown. The log itself (lineCount, lines, saveTo) always includes the lines
// not shown yet.
//
// What the log holds in memory is bounded: a unit may send without end. Beyond the limits the oldest
// lines move, in batches, from the view (or from the lines waiting for it) to a temporary file of the
// program's own, which is removed when the monitor goes; Save Log writes them all, in order. Should no
// such file be possible, the oldest lines are dropped instead, and the log says so.
class Monitor : public QObject {
    Q_OBJECT
public:
    static constexpr int ShowIntervalMs = 50;

    struct Limits {
        qint64 lines = 50000;
        qint64 characters = 4000000;
    };

    explicit Monitor(QPlainTextEdit *view, QObject *parent = nullptr);
    ~Monitor() override;

    // Where the older lines go: a new file made from `pathTemplate` (QTemporaryFile's form, e.g.
    // ".../OXAset.log-XXXXXX.tmp") when it is first needed; the system's temporary folder when that
    // cannot be made or no template was given.
    void setSpillTemplate(const QString &pathTemplate) { m_spillTemplate = pathTemplate; }
    void setLimits(const Limits &limits) { m_limits = limits; }
    const Limits &limits() const { return m_limits; }

    void log(const QString &line);
    // Puts the waiting lines into the view now.
    void showPending();
    // Every line logged, those in the file included.
    qint64 lineCount() const;
    // What is held in memory: lines in the view and lines waiting for it.
    qint64 heldLineCount() const { return m_viewLines + m_pending.size(); }
    qint64 heldCharacters() const { return m_heldCharacters; }
    // The file the older lines went to; empty while none was needed.
    QString spillFilePath() const;
    QStringList lines() const;
    // The code page of the log file, the one the received lines were decoded with.
    void setCodePage(const CodePageCodec &codec) { m_codePage = codec; }
    // Writes every line followed by CR LF under exactly `path`, replacing a file of that name. A
    // character the code page cannot hold (in a message of the program's own) is written as "<U+XXXX>".
    bool saveTo(const QString &path, QString *error) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Moves the oldest held lines out until the log holds no more than three quarters of its limits.
    void spillOldest();
    bool writeToSpill(const QStringList &lines);
    // Every line in order, until `take` returns false; the reason when the file could not be read.
    QString forEachLine(const std::function<bool(const QString &)> &take) const;

    QPlainTextEdit *m_view;
    QStringList m_pending;
    QTimer m_showTimer;
    qint64 m_viewLines = 0;
    qint64 m_heldCharacters = 0;
    Limits m_limits;
    QString m_spillTemplate;
    std::unique_ptr<QTemporaryFile> m_spill;
    qint64 m_spilledLines = 0;
    qint64 m_droppedLines = 0; // older lines no file could take
    QString m_spillFailure;
    CodePageCodec m_codePage;
};

} // namespace oxa
