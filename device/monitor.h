#pragma once

#include "codepagecodec.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

class QPlainTextEdit;

namespace oxa {

// The traffic log on the monitor page: lines are only ever appended, never re-rendered as a whole.
// Lines reach the view in batches, a few times a second: appended one by one, each would be laid out
// on arrival, which costs more than everything else the receive handler does with it. Appended
// together, only the lines in view are ever laid out. While the monitor page is not on screen the
// lines wait until it is shown. The log itself (lineCount, lines, saveTo) always includes the lines
// not shown yet.
class Monitor : public QObject {
    Q_OBJECT
public:
    static constexpr int ShowIntervalMs = 50;

    explicit Monitor(QPlainTextEdit *view, QObject *parent = nullptr);

    void log(const QString &line);
    // Puts the waiting lines into the view now.
    void showPending();
    int lineCount() const;
    QStringList lines() const;
    // The code page of the log file, the one the received lines were decoded with.
    void setCodePage(const CodePageCodec &codec) { m_codePage = codec; }
    // Writes every line followed by CR LF under exactly `path`, replacing a file of that name. A
    // character the code page cannot hold (in a message of the program's own) is written as "<U+XXXX>".
    bool saveTo(const QString &path, QString *error) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPlainTextEdit *m_view;
    QStringList m_pending;
    QTimer m_showTimer;
    bool m_empty = true;
    CodePageCodec m_codePage;
};

} // namespace oxa
