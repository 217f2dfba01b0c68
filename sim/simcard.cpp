#include "simcard.h"

namespace oxa::sim {

SimCard::SimCard(int size) : m_slots(size_t(qMax(0, size))) {}

std::optional<SimEntry> SimCard::entry(int index) const {
    if (!isValidIndex(index))
        return std::nullopt;
    return m_slots[size_t(index - 1)];
}

int SimCard::usedCount() const {
    int count = 0;
    for (const auto &slot : m_slots)
        count += slot.has_value();
    return count;
}

QList<IndexedEntry> SimCard::usedEntries() const {
    QList<IndexedEntry> used;
    for (size_t i = 0; i < m_slots.size(); ++i)
        if (m_slots[i])
            used.append({int(i + 1), *m_slots[i]});
    return used;
}

int SimCard::firstFree() const {
    for (size_t i = 0; i < m_slots.size(); ++i)
        if (!m_slots[i])
            return int(i + 1);
    return 0;
}

SimCard::Status SimCard::write(int index, const SimEntry &entry) {
    if (!isValidIndex(index))
        return Status::InvalidIndex;
    if (entry.number.size() > NumberLength)
        return Status::NumberTooLong;
    if (entry.name.size() > NameLength)
        return Status::NameTooLong;
    m_slots[size_t(index - 1)] = entry;
    return Status::Ok;
}

SimCard::Status SimCard::writeFirstFree(const SimEntry &entry, int *index) {
    if (entry.number.size() > NumberLength)
        return Status::NumberTooLong;
    if (entry.name.size() > NameLength)
        return Status::NameTooLong;
    const int free = firstFree();
    if (free == 0)
        return Status::Full;
    if (index)
        *index = free;
    return write(free, entry);
}

SimCard::Status SimCard::erase(int index) {
    if (!isValidIndex(index))
        return Status::InvalidIndex;
    m_slots[size_t(index - 1)].reset();
    return Status::Ok;
}

void SimCard::clear() {
    for (auto &slot : m_slots)
        slot.reset();
}

} // namespace oxa::sim
