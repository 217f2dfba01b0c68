#include "linereader.h"

namespace oxa {

bool isUploadPrompt(QByteArrayView text) {
    return text == QByteArrayView(">>>") || text == QByteArrayView("CONNECT");
}

LineReader::Event LineReader::feed(char byte) {
    const auto code = static_cast<unsigned char>(byte);
    if (code == 13) {
        m_complete = std::exchange(m_line, QByteArray());
        m_completeCut = std::exchange(m_cutting, false);
        return Event::LineEnded;
    }
    if (code < 32)
        return Event::Dropped;
    if (m_line.size() >= MaxLineLength) {
        if (m_cutting)
            return Event::Dropped;
        m_cutting = true;
        return Event::Cut;
    }
    m_line.append(byte);
    // Only a line of 3 or 7 bytes can be a prompt, so the test is O(1) per byte.
    return partialIsPrompt() ? Event::Prompt : Event::Appended;
}

void LineReader::clear() {
    m_line.clear();
    m_complete.clear();
    m_cutting = false;
    m_completeCut = false;
}

QList<QByteArray> feedLines(LineReader &reader, QByteArrayView chunk) {
    QList<QByteArray> lines;
    for (const char byte : chunk) {
        if (reader.feed(byte) == LineReader::Event::LineEnded)
            lines.append(reader.takeLine());
    }
    return lines;
}

} // namespace oxa
