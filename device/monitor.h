#pragma once

#include <QObject>
#include <QString>

class QPlainTextEdit;

namespace oxa {

// The traffic log on the monitor page: lines are only ever appended, never re-rendered as a whole.
class Monitor : public QObject {
    Q_OBJECT
public:
    explicit Monitor(QPlainTextEdit *view, QObject *parent = nullptr);

    void log(const QString &line);
    int lineCount() const;
    QStringList lines() const;
    // Writes every line followed by CR LF under exactly `path`, replacing a file of that name.
    bool saveTo(const QString &path, QString *error) const;

private:
    QPlainTextEdit *m_view;
    bool m_empty = true;
};

} // namespace oxa
