#include "oxasimprocess.h"

#include "benchsupport.h"

namespace oxa::bench {

OxasimProcess::~OxasimProcess() {
    quit();
}

bool OxasimProcess::start(const QStringList &arguments, QString *error) {
    m_process.setProgram(QStringLiteral(OXASIM_PATH));
    m_process.setArguments(arguments);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start();
    if (!m_process.waitForStarted(10000)) {
        *error = QStringLiteral("oxasim did not start: ") + m_process.errorString();
        return false;
    }
    while (!m_process.canReadLine()) {
        if (!m_process.waitForReadyRead(20000)) {
            *error = QStringLiteral("oxasim printed no pseudo-terminal");
            return false;
        }
    }
    const QByteArray first = m_process.readLine().trimmed();
    if (!first.startsWith("PTY ")) {
        *error = QStringLiteral("oxasim said ") + QString::fromLocal8Bit(first);
        return false;
    }
    m_slave = QString::fromLocal8Bit(first.mid(4));
    return true;
}

void OxasimProcess::control(const QByteArray &line) {
    m_process.write(line + '\n');
    m_process.waitForBytesWritten(1000);
}

QByteArray OxasimProcess::listing(const QByteArray &command) {
    m_process.readAllStandardOutput();
    control(command);
    QByteArray text;
    spin(
        [&] {
            text += m_process.readAllStandardOutput();
            if (text.endsWith("end\n"))
                return true;
            m_process.waitForReadyRead(20);
            return false;
        },
        10000);
    text.chop(4);
    return text;
}

void OxasimProcess::quit() {
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.write("quit\n");
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

} // namespace oxa::bench
