#pragma once

// The unit's side of a whole read on a fake port, for tests that need the window to know the SIM.
#include "fakeport.h"
#include "tform1.h"

#include <QByteArray>
#include <QList>

namespace oxa::test {

inline QByteArray entryLine(int index, const QByteArray &number, const QByteArray &name) {
    return "+CPBR: " + QByteArray::number(index) + ",\"" + number + "\",129,\"" + name + "\"";
}

// A read as the user starts it in programming mode (Load); before that, the module's "Telit" starts it,
// as it does when the module takes commands. DTR is raised, so that the read goes on to the listing.
inline void startRead(TForm1 &form, FakePort &port) {
    port.setDtr(true);
    if (form.session().mode() == UnitMode::Programming)
        form.session().read();
    else
        port.deliver("Telit\r\n");
}

// The read chain as the unit answers it, up to the point where the listing's entries come: the
// operator, the size; then `lines` (entry lines, or anything else) and, when `finish`, the last "OK".
inline void playRead(TForm1 &form, FakePort &port, const QList<QByteArray> &lines, int simSize = 250,
                     bool finish = true) {
    startRead(form, port);
    port.deliver("#SPN: Operator\r\nOK\r\n");
    port.deliver("+CPBR: (1-" + QByteArray::number(simSize) + "),40,18\r\nOK\r\n");
    for (const QByteArray &line : lines)
        port.deliver(line + "\r\n");
    if (finish)
        port.deliver("OK\r\n");
}

} // namespace oxa::test
