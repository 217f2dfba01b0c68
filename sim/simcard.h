#pragma once

#include <QByteArray>
#include <QList>
#include <optional>
#include <vector>

namespace oxa::sim {

// One phone-book record. Number and name are bytes as written; the module attaches no meaning to them.
struct SimEntry {
    QByteArray number;
    QByteArray name;
    // Type of number: 145 international ("+" first), 129 otherwise.
    int type = 129;

    static int typeOf(const QByteArray &number) { return number.startsWith('+') ? 145 : 129; }
    bool operator==(const SimEntry &) const = default;
};

struct IndexedEntry {
    int index = 0;
    SimEntry entry;
    bool operator==(const IndexedEntry &) const = default;
};

// The SIM phone book ("SM"): locations 1..size, each empty or holding one entry.
class SimCard {
public:
    // The field lengths the module reports in its "+CPBR: (1-N),40,18" answer.
    static constexpr int NumberLength = 40;
    static constexpr int NameLength = 18;

    enum class Status { Ok, InvalidIndex, NumberTooLong, NameTooLong, Full };

    explicit SimCard(int size = 250);

    int size() const { return int(m_slots.size()); }
    std::optional<SimEntry> entry(int index) const;
    bool isUsed(int index) const { return entry(index).has_value(); }
    int usedCount() const;
    // Every used location in index order.
    QList<IndexedEntry> usedEntries() const;
    // Lowest empty location, 0 when the SIM is full.
    int firstFree() const;

    // Checks index and field lengths, then stores; nothing changes unless the result is Ok.
    Status write(int index, const SimEntry &entry);
    // Stores at the lowest empty location; `index` (optional) tells where.
    Status writeFirstFree(const SimEntry &entry, int *index = nullptr);
    Status erase(int index);
    void clear();

    bool isValidIndex(int index) const { return index >= 1 && index <= size(); }

private:
    std::vector<std::optional<SimEntry>> m_slots;
};

} // namespace oxa::sim
