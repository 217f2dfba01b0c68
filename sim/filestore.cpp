#include "filestore.h"

namespace oxa::sim {

std::optional<QByteArray> FileStore::file(const QByteArray &name) const {
    const auto it = m_files.find(name);
    if (it == m_files.end())
        return std::nullopt;
    return it->second;
}

QList<QByteArray> FileStore::names() const {
    QList<QByteArray> names;
    for (const auto &[name, data] : m_files)
        names.append(name);
    return names;
}

qint64 FileStore::freeBytes(const QByteArray &replacing) const {
    qint64 used = 0;
    for (const auto &[name, data] : m_files)
        if (name != replacing)
            used += data.size();
    return m_capacity - used;
}

bool FileStore::store(const QByteArray &name, const QByteArray &data) {
    if (data.size() > freeBytes(name))
        return false;
    m_files[name] = data;
    return true;
}

bool FileStore::remove(const QByteArray &name) {
    return m_files.erase(name) != 0;
}

} // namespace oxa::sim
