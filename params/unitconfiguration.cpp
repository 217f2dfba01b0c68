#include "unitconfiguration.h"

#include <QSet>

namespace oxa {

UnitConfiguration::UnitConfiguration(QObject *parent) : QObject(parent) {
    m_listingStale = tr("the unit has not been read yet");
    m_writeBlocked = m_listingStale;
}

void UnitConfiguration::setKeyValue(int key, const QByteArray &value) {
    if (m_keys.at(size_t(key)) == value)
        return;
    m_keys[size_t(key)] = value;
    emit keyValueChanged(key);
}

void UnitConfiguration::setStrings(const ParameterStrings &strings) {
    if (m_strings == strings)
        return;
    m_strings = strings;
    emit stringsChanged();
}

void UnitConfiguration::setRows(const QList<PhoneBookRow> &rows) {
    m_rows = rows;
    emit rowsReset();
}

void UnitConfiguration::insertRow(int at, const PhoneBookRow &row) {
    m_rows.insert(at, row);
    emit rowInserted(at);
}

void UnitConfiguration::removeRow(int at) {
    m_rows.removeAt(at);
    emit rowRemoved(at);
}

void UnitConfiguration::setRow(int at, const PhoneBookRow &row) {
    if (m_rows.at(at) == row)
        return;
    m_rows[at] = row;
    emit rowChanged(at);
}

QList<ReadEntry> UnitConfiguration::applyListing(const Listing &listing) {
    m_listing = listing;
    ++m_listingsApplied;
    std::array<QByteArray, 23> keys;
    ParameterStrings strings = m_strings;
    QList<PhoneBookRow> rows;
    QByteArray detect;
    QByteArray version;
    QSet<QByteArray> keysTaken;
    QList<ReadEntry> repeated;
    for (const ReadEntry &entry : listing.entries) {
        const KeyKind kind = keyKind(entry.name);
        if (kind == KeyKind::EditBox || kind == KeyKind::Parameter) {
            if (keysTaken.contains(entry.name)) {
                repeated.append(entry);
                rows.append(PhoneBookRow{entry.name, entry.number});
                continue;
            }
            keysTaken.insert(entry.name);
        }
        switch (kind) {
        case KeyKind::EditBox:
            keys[size_t(editBoxKeyIndex(entry.name))] = entry.number;
            break;
        case KeyKind::Parameter:
            strings[*parameterStringForKey(entry.name)] = entry.number;
            break;
        case KeyKind::Version:
            version = entry.number;
            break;
        case KeyKind::None:
            rows.append(PhoneBookRow{entry.name, entry.number});
            if (entry.name == "DETECT" && entry.number == "1")
                detect = entry.indexText + ":DETECT[1]";
            break;
        }
    }
    m_detectEntry = detect;
    m_version = version;
    for (size_t key = 0; key < keys.size(); ++key)
        setKeyValue(int(key), keys[key]);
    setStrings(strings);
    setRows(rows);
    m_listingStale.clear();
    m_writeBlocked.clear();
    emit staleChanged();
    emit listingApplied(repeated);
    return repeated;
}

void UnitConfiguration::markListingStale(const QString &why) {
    m_listingStale = why;
    emit staleChanged();
}

void UnitConfiguration::blockWholeWrite(const QString &why) {
    m_listingStale = why;
    m_writeBlocked = why;
    emit staleChanged();
}

QList<QByteArray> UnitConfiguration::writeKeyValues() const {
    QList<QByteArray> values(m_keys.cbegin(), m_keys.cend());
    for (const ParameterString which : kParameterStrings)
        values.append(m_strings[which]);
    return values;
}

} // namespace oxa
