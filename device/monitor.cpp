#include "monitor.h"

#include "safesave.h"

#include <QEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

namespace oxa {

Monitor::Monitor(QPlainTextEdit *view, QObject *parent) : QObject(parent), m_view(view) {
    m_view->setUndoRedoEnabled(false);
    m_showTimer.setSingleShot(true);
    m_showTimer.setInterval(ShowIntervalMs);
    connect(&m_showTimer, &QTimer::timeout, this, [this] {
        if (m_view->isVisible())
            showPending();
    });
    m_view->installEventFilter(this);
}

bool Monitor::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_view && event->type() == QEvent::Show && !m_pending.isEmpty())
        QTimer::singleShot(0, this, [this] {
            if (m_view->isVisible())
                showPending();
        });
    return QObject::eventFilter(watched, event);
}

void Monitor::log(const QString &line) {
    // The log keeps the bytes' characters as they came; line breaks inside would split one item.
    QString text = line;
    text.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    m_pending.append(text);
    if (!m_showTimer.isActive())
        m_showTimer.start();
}

void Monitor::showPending() {
    m_showTimer.stop();
    if (m_pending.isEmpty())
        return;
    const QString text = m_pending.join(QLatin1Char('\n'));
    m_pending.clear();
    QScrollBar *bar = m_view->verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    // One edit of several blocks: the layout marks them dirty instead of laying out each one now.
    if (m_empty) {
        m_view->setPlainText(text);
        m_empty = false;
    } else {
        m_view->appendPlainText(text);
    }
    if (atEnd)
        bar->setValue(bar->maximum());
}

int Monitor::lineCount() const {
    return (m_empty ? 0 : m_view->document()->blockCount()) + int(m_pending.size());
}

QStringList Monitor::lines() const {
    QStringList result;
    if (!m_empty)
        for (QTextBlock block = m_view->document()->begin(); block.isValid(); block = block.next())
            result << block.text();
    return result + m_pending;
}

namespace {

QByteArray logFileLine(const QString &line, const CodePageCodec &codec) {
    if (const std::optional<QByteArray> bytes = codec.encode(line))
        return *bytes;
    QByteArray bytes;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (const std::optional<QByteArray> byte = codec.encode(QStringView(line).sliced(i, 1))) {
            bytes += *byte;
            continue;
        }
        const qsizetype width =
            line[i].isHighSurrogate() && i + 1 < line.size() && line[i + 1].isLowSurrogate() ? 2 : 1;
        const char32_t character = *codec.firstUnencodable(QStringView(line).sliced(i, width));
        bytes += "<U+" + QByteArray::number(uint(character), 16).toUpper().rightJustified(4, '0') + '>';
        i += width - 1;
    }
    return bytes;
}

} // namespace

bool Monitor::saveTo(const QString &path, QString *error) const {
    QByteArray bytes;
    for (const QString &line : lines())
        bytes += logFileLine(line, m_codePage) + "\r\n";
    const QString failure = saveFileSafely(path, bytes);
    if (error)
        *error = failure;
    return failure.isEmpty();
}

} // namespace oxa
