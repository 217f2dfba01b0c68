// The receive handler: bytes from the unit become logged lines.
#include "tform1.h"

#include "portlayer.h"

#include <QLocale>
#include <QTime>

namespace oxa {

void TForm1::ApdComPort1TriggerAvail(int count) {
    toggleReceiveIndicator();
    for (int i = 0; i < count; ++i) {
        const auto byte = static_cast<unsigned char>(m_seams.port->readChar());
        if (byte == '\r') {
            processLine(state.ReceiveLine);
            state.ReceiveLine.clear();
        } else if (byte >= 32) {
            state.ReceiveLine.append(char(byte));
        }
    }
}

void TForm1::processLine(const QByteArray &line) {
    if (!line.contains("#SMSATWL"))
        log(QLatin1Char('[') + QLocale::system().toString(QTime::currentTime(), QLocale::LongFormat) +
            QStringLiteral("]   ") + QString::fromLatin1(line));
}

} // namespace oxa
