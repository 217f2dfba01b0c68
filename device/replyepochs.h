#pragma once

#include <QtGlobal>

#include <deque>

namespace oxa {

// Which commands had gone out when each received byte arrived. A reply that arrived before a command
// was sent cannot be that command's answer, however late the program reads it (for example after a
// pause): a stray "OK" then no longer makes a later refusal name the wrong entry.
class ReplyEpochs {
public:
    // A command went out: bytes that arrive from now on may answer it.
    void commandSent() { ++m_sent; }
    quint64 commandsSent() const { return m_sent; }

    // The port reports `waiting` unread bytes right now (on every data notice).
    void bytesWaiting(qint64 waiting);
    // The next unread byte was taken; returns commandsSent() as it was when that byte arrived.
    quint64 byteRead();
    // The port dropped what it held (closed, lost): nothing waits any more.
    void reset();

private:
    struct Mark {
        qint64 end;    // bytes read so far once this arrival has been read
        quint64 epoch; // commands sent when it arrived
    };
    std::deque<Mark> m_marks;
    quint64 m_sent = 0;
    qint64 m_read = 0;
    qint64 m_marked = 0;
};

} // namespace oxa
