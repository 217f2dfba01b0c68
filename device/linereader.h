#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <utility>

namespace oxa {

// The upload prompts that the module sends without a line end.
bool isUploadPrompt(QByteArrayView text);

// Assembles the unit's reply lines from received bytes, one byte at a time, so that the receive
// handler can react to a line (and to an upload prompt) before it looks at the next byte.
// A line ends at CR; LF and every other control byte are dropped; bytes 32..255 are kept.
// No reply of the module comes near MaxLineLength bytes: a line that reaches it is cut there and the
// rest of it, up to its CR, dropped, so that a unit sending without end cannot fill the memory.
class LineReader {
public:
    static constexpr qsizetype MaxLineLength = 4096;

    enum class Event {
        Dropped,   // a control byte other than CR, or a byte of a line cut already: nothing changed
        Appended,  // the byte joined the partial line
        Prompt,    // as Appended, and the partial line is now exactly ">>>" or "CONNECT"
        LineEnded, // CR: a complete line waits in takeLine()
        Cut,       // the partial line holds MaxLineLength bytes: this byte and the rest of the line go
    };

    Event feed(char byte);

    // The line that the last LineEnded completed (without its CR); empty once taken.
    QByteArray takeLine() { return std::exchange(m_complete, QByteArray()); }
    // Whether that line was cut: it holds only its first MaxLineLength bytes.
    bool completeLineWasCut() const { return m_completeCut; }

    // The bytes received since the last CR.
    const QByteArray &partial() const { return m_line; }
    bool partialIsPrompt() const { return isUploadPrompt(m_line); }
    void clear();

private:
    QByteArray m_line;
    QByteArray m_complete;
    bool m_cutting = false;
    bool m_completeCut = false;
};

// Feeds a whole chunk and returns the lines it completed, in order (prompts are not reported).
// For tests and tools; the receive handler feeds byte by byte because a line's reaction can change
// what the next byte means.
QList<QByteArray> feedLines(LineReader &reader, QByteArrayView chunk);

} // namespace oxa
