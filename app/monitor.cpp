#include "monitor.h"

#include "safesave.h"

#include <QDir>
#include <QEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryFile>
#include <QTextBlock>
#include <QTextCursor>

namespace oxa {

namespace {

// Save Log hands the file its bytes in pieces of about this size.
constexpr qsizetype SavePieceBytes = 256 * 1024;

qint64 heldSize(const QString &line) {
    return line.size() + 1;
}

} // namespace

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

Monitor::~Monitor() = default;

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
    m_heldCharacters += heldSize(text);
    m_pending.append(text);
    if (heldLineCount() > m_limits.lines || m_heldCharacters > m_limits.characters)
        spillOldest();
    if (!m_showTimer.isActive())
        m_showTimer.start();
}

void Monitor::showPending() {
    m_showTimer.stop();
    if (m_pending.isEmpty())
        return;
    const QString text = m_pending.join(QLatin1Char('\n'));
    const qint64 added = m_pending.size();
    m_pending.clear();
    QScrollBar *bar = m_view->verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    // One edit of several blocks: the layout marks them dirty instead of laying out each one now.
    if (m_viewLines == 0)
        m_view->setPlainText(text);
    else
        m_view->appendPlainText(text);
    m_viewLines += added;
    if (atEnd)
        bar->setValue(bar->maximum());
}

void Monitor::spillOldest() {
    // A quarter of the limits at a time: the cost of a move is spread over many lines.
    const qint64 keepLines = m_limits.lines * 3 / 4;
    const qint64 keepCharacters = m_limits.characters * 3 / 4;
    qint64 lines = heldLineCount();
    qint64 characters = m_heldCharacters;
    const auto over = [&] { return lines > keepLines || characters > keepCharacters; };
    QStringList moved;
    QTextBlock block = m_view->document()->begin();
    qint64 fromView = 0;
    for (; fromView < m_viewLines && over(); ++fromView, block = block.next()) {
        moved << block.text();
        --lines;
        characters -= heldSize(moved.last());
    }
    qsizetype fromPending = 0;
    for (; fromPending < m_pending.size() && over(); ++fromPending) {
        moved << m_pending.at(fromPending);
        --lines;
        characters -= heldSize(moved.last());
    }
    const bool hadFailed = !m_spillFailure.isEmpty();
    writeToSpill(moved);

    if (fromView == m_viewLines) {
        m_view->clear();
    } else if (fromView > 0) {
        QScrollBar *bar = m_view->verticalScrollBar();
        const bool atEnd = bar->value() == bar->maximum();
        QTextCursor cursor(m_view->document());
        cursor.setPosition(block.position(), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        if (atEnd)
            bar->setValue(bar->maximum());
    }
    m_viewLines -= fromView;
    m_pending.remove(0, fromPending);
    m_heldCharacters = characters;
    if (!hadFailed && !m_spillFailure.isEmpty()) {
        const QString note = tr("Older lines of this log are dropped from here on: no file could keep them "
                                "(%1). Save Log writes only the lines held since.")
                                 .arg(m_spillFailure);
        m_pending.append(note);
        m_heldCharacters += heldSize(note);
    }
}

bool Monitor::writeToSpill(const QStringList &lines) {
    if (!m_spill && m_spillFailure.isEmpty()) {
        const QString fallback = QDir(QDir::tempPath()).filePath(QStringLiteral("oxaset-log-XXXXXX.tmp"));
        for (const QString &pathTemplate : {m_spillTemplate, fallback}) {
            if (pathTemplate.isEmpty())
                continue;
            auto file = std::make_unique<QTemporaryFile>(pathTemplate);
            if (file->open()) {
                m_spill = std::move(file);
                break;
            }
            m_spillFailure = file->errorString();
        }
        if (m_spill)
            m_spillFailure.clear();
    }
    if (m_spill && m_spillFailure.isEmpty()) {
        QByteArray bytes;
        for (const QString &line : lines)
            bytes += line.toUtf8() + '\n';
        const qint64 before = m_spill->size();
        if (m_spill->write(bytes) == bytes.size() && m_spill->flush()) {
            m_spilledLines += lines.size();
            return true;
        }
        // A full disk: what the file held before stays whole, this batch and the later ones are dropped.
        m_spillFailure = m_spill->errorString();
        m_spill->resize(before);
    }
    m_droppedLines += lines.size();
    return false;
}

qint64 Monitor::lineCount() const {
    return m_spilledLines + m_droppedLines + heldLineCount();
}

QString Monitor::spillFilePath() const {
    return m_spill ? m_spill->fileName() : QString();
}

QString Monitor::forEachLine(const std::function<bool(const QString &)> &take) const {
    if (m_spill && m_spilledLines > 0) {
        const qint64 end = m_spill->size();
        QString failure;
        bool going = m_spill->seek(0);
        if (!going)
            failure = m_spill->errorString();
        QByteArray rest;
        while (going && m_spill->pos() < end) {
            const QByteArray chunk = m_spill->read(std::min<qint64>(SavePieceBytes, end - m_spill->pos()));
            if (chunk.isEmpty()) {
                failure = m_spill->errorString();
                break;
            }
            rest += chunk;
            qsizetype start = 0;
            for (qsizetype lf = rest.indexOf('\n'); lf >= 0 && going; lf = rest.indexOf('\n', start)) {
                going = take(QString::fromUtf8(rest.constData() + start, lf - start));
                start = lf + 1;
            }
            rest.remove(0, start);
        }
        m_spill->seek(m_spill->size());
        if (!failure.isEmpty())
            return failure;
        if (!going)
            return {};
    }
    if (m_droppedLines > 0 &&
        !take(tr("[%1 older lines of this log were dropped: %2]").arg(m_droppedLines).arg(m_spillFailure)))
        return {};
    if (m_viewLines > 0)
        for (QTextBlock block = m_view->document()->begin(); block.isValid(); block = block.next())
            if (!take(block.text()))
                return {};
    for (const QString &line : m_pending)
        if (!take(line))
            return {};
    return {};
}

QStringList Monitor::lines() const {
    QStringList result;
    forEachLine([&result](const QString &line) {
        result << line;
        return true;
    });
    return result;
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
    const QString failure = saveFileSafely(path, [this](const ByteSink &sink) {
        QByteArray piece;
        bool written = true;
        const QString notRead = forEachLine([&](const QString &line) {
            piece += logFileLine(line, m_codePage) + "\r\n";
            if (piece.size() >= SavePieceBytes) {
                written = sink(piece);
                piece.clear();
            }
            return written;
        });
        if (written && !piece.isEmpty())
            sink(piece);
        return notRead.isEmpty() ? QString()
                                 : tr("the older lines of the log cannot be read back (%1)").arg(notRead);
    });
    if (error)
        *error = failure;
    return failure.isEmpty();
}

} // namespace oxa
