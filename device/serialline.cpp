#include "serialline.h"

#include "qtserialbackend.h"

#include <QSerialPortInfo>

namespace oxa {

SerialLine::SerialLine(PortChooser chooser, QObject *parent)
    : PortLayer(parent), m_chooser(std::move(chooser)), m_lister(&SerialLine::systemPorts),
      m_factory([](const QString &name) { return std::make_unique<QtSerialBackend>(name); }) {}

SerialLine::~SerialLine() {
    close();
}

QList<PortEntry> SerialLine::systemPorts() {
    QList<PortEntry> ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        QString description = info.description();
        if (description.isEmpty())
            description = info.manufacturer();
        ports.append({info.systemLocation(), description});
    }
    return ports;
}

QList<PortEntry> SerialLine::availablePorts() const {
    QList<PortEntry> ports = m_lister ? m_lister() : QList<PortEntry>{};
    for (const auto &[entry, factory] : m_extra)
        ports.append(entry);
    return ports;
}

void SerialLine::addExtraPort(const PortEntry &entry, BackendFactory factory) {
    m_extra.append({entry, std::move(factory)});
}

void SerialLine::openChosenPort() {
    const std::optional<QString> chosen = m_chooser ? m_chooser(availablePorts(), m_preferred) : std::nullopt;
    if (!chosen || chosen->trimmed().isEmpty())
        throw PortError(tr("No serial port was chosen; nothing was sent."));

    const QString name = chosen->trimmed();
    std::unique_ptr<PortBackend> backend;
    for (const auto &[entry, factory] : m_extra)
        if (entry.name == name)
            backend = factory(name);
    if (!backend)
        backend = m_factory(name);

    QString error;
    if (!backend->open(&error))
        throw PortError(tr("The serial port %1 cannot be opened: %2").arg(name, error));

    connect(backend.get(), &PortBackend::readyRead, this, &SerialLine::onReadyRead);
    connect(backend.get(), &PortBackend::failed, this, &SerialLine::onFailed);
    m_backend = std::move(backend);
    m_portName = name;
    m_portNumber = 1;
    // A port opened again after it was lost keeps the programming mode the user asked for.
    if (m_dtr)
        m_backend->setDtr(true);
}

void SerialLine::send(const QByteArray &bytes) {
    if (!m_backend)
        openChosenPort();
    if (bytes.size() > freeOutputSpace())
        throw PortError(tr("The output queue has room for %1 bytes; %2 bytes were not sent.")
                            .arg(freeOutputSpace())
                            .arg(bytes.size()));
    m_backend->write(bytes);
}

int SerialLine::bytesAvailable() const {
    return int(m_input.size() - m_readPos);
}

char SerialLine::readChar() {
    if (m_readPos >= m_input.size())
        return 0;
    const char c = m_input.at(m_readPos++);
    if (m_readPos == m_input.size()) {
        m_input.clear();
        m_readPos = 0;
    }
    return c;
}

int SerialLine::freeOutputSpace() const {
    if (!m_backend)
        return OutputQueueSize;
    return int(std::max<qint64>(0, OutputQueueSize - m_backend->bytesToWrite()));
}

void SerialLine::setDtr(bool raised) {
    m_dtr = raised;
    if (m_backend && !m_backend->setDtr(raised) && !m_dtrNoticeGiven) {
        m_dtrNoticeGiven = true;
        emit notice(tr("The port %1 cannot drive the DTR line.").arg(m_portName));
    }
}

bool SerialLine::dtr() const {
    return m_dtr;
}

int SerialLine::portNumber() const {
    return m_portNumber;
}

void SerialLine::close() {
    if (!m_backend)
        return;
    m_backend->disconnect(this);
    m_backend->close();
    m_backend.reset();
    m_portNumber = 0;
}

void SerialLine::onReadyRead() {
    if (!m_backend)
        return;
    const QByteArray bytes = m_backend->readAll();
    if (bytes.isEmpty())
        return;
    m_input.append(bytes);
    emit dataAvailable(bytesAvailable());
}

void SerialLine::onFailed(const QString &message) {
    const QString name = m_portName;
    // We are inside the backend's own signal: detach it now, delete it once it has returned.
    PortBackend *dying = m_backend.release();
    if (!dying)
        return;
    dying->disconnect(this);
    dying->close();
    dying->deleteLater();
    m_portNumber = 0;
    m_input.clear();
    m_readPos = 0;
    emit lost(tr("The serial port %1 stopped working (%2). The next operation asks for a port again; read "
                 "the unit (Load) before changing it, as the cable may now lead to another unit.")
                  .arg(name, message));
}

} // namespace oxa
