#pragma once

#include "keyentries.h"
#include "listing.h"
#include "parameterstrings.h"
#include "phonebookrows.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <array>
#include <optional>

namespace oxa {

// The unit's configuration as the program holds it: the key values, the four parameter strings, the
// phone-book rows, and the unit's SIM as it was last listed whole, with whether that listing still
// stands for what the unit holds. Views show it and edit it; the session with the unit fills it from a
// listing and writes it. Bytes throughout: the code page belongs to the views.
class UnitConfiguration : public QObject {
    Q_OBJECT
public:
    explicit UnitConfiguration(QObject *parent = nullptr);

    // The 23 keys with an edit box, by their index in kEditBoxKeys.
    const QByteArray &keyValue(int key) const { return m_keys.at(size_t(key)); }
    void setKeyValue(int key, const QByteArray &value);
    // The four parameter strings, as held (the settings pages encode them afresh for a write).
    const ParameterStrings &strings() const { return m_strings; }
    void setStrings(const ParameterStrings &strings);

    // The phone-book rows, in order.
    const QList<PhoneBookRow> &rows() const { return m_rows; }
    void setRows(const QList<PhoneBookRow> &rows);
    void insertRow(int at, const PhoneBookRow &row);
    void removeRow(int at);
    void setRow(int at, const PhoneBookRow &row);

    // The SIM as the unit listed it last, whole; nullopt before the first whole listing.
    const std::optional<Listing> &listing() const { return m_listing; }
    // The detect entry of that listing as a node text ("12:DETECT[1]"), empty when it holds none.
    const QByteArray &detectEntry() const { return m_detectEntry; }
    // The firmware version the unit listed ("VER"), empty when none.
    const QByteArray &version() const { return m_version; }
    // A whole listing replaces everything the configuration shows of the unit: every key (empty when
    // the SIM holds none), the parameter strings it holds, the rows, the detect entry and the version.
    // A key listed twice is taken from its first entry; each later one becomes a row, so that a whole
    // write stores both again. Returns those later entries.
    QList<ReadEntry> applyListing(const Listing &listing);
    int listingsApplied() const { return m_listingsApplied; }

    // Why the listing's indexes may no longer be the unit's (empty while they are): nothing that
    // addresses an index goes out then. And why a whole write may not start (empty when it may).
    const QString &listingStale() const { return m_listingStale; }
    const QString &writeBlocked() const { return m_writeBlocked; }
    void markListingStale(const QString &why);
    void blockWholeWrite(const QString &why);

    // What a whole write stores, in its fixed order: the 23 key values, then the four strings.
    QList<QByteArray> writeKeyValues() const;

signals:
    void keyValueChanged(int key);
    void stringsChanged();
    void rowsReset();
    void rowInserted(int at);
    void rowRemoved(int at);
    void rowChanged(int at);
    // A whole listing was applied; `repeatedKeys` were listed more than once (later ones became rows).
    void listingApplied(const QList<ReadEntry> &repeatedKeys);
    void staleChanged();

private:
    std::array<QByteArray, 23> m_keys;
    ParameterStrings m_strings;
    QList<PhoneBookRow> m_rows;
    std::optional<Listing> m_listing;
    QByteArray m_detectEntry;
    QByteArray m_version;
    int m_listingsApplied = 0;
    QString m_listingStale;
    QString m_writeBlocked;
};

} // namespace oxa
