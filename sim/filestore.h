#pragma once

#include <QByteArray>
#include <QList>
#include <map>
#include <optional>

namespace oxa::sim {

// The module's own file system: device scripts and voice messages, by name, with the name of the
// script that the module starts at boot.
class FileStore {
public:
    static constexpr qint64 DefaultCapacity = 2'000'000;

    explicit FileStore(qint64 capacity = DefaultCapacity) : m_capacity(capacity) {}

    std::optional<QByteArray> file(const QByteArray &name) const;
    bool contains(const QByteArray &name) const { return m_files.count(name) != 0; }
    QList<QByteArray> names() const;
    // Bytes still free; a file being replaced counts as free.
    qint64 freeBytes(const QByteArray &replacing = {}) const;

    // False (and nothing stored) when it does not fit.
    bool store(const QByteArray &name, const QByteArray &data);
    bool remove(const QByteArray &name);

    QByteArray startScript() const { return m_startScript; }
    void setStartScript(const QByteArray &name) { m_startScript = name; }

private:
    std::map<QByteArray, QByteArray> m_files;
    qint64 m_capacity;
    QByteArray m_startScript;
};

} // namespace oxa::sim
