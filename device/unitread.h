#pragma once

#include "listing.h"
#include "replies.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

namespace oxa {

// The largest SIM phone book the program accepts; anything larger is a garbled reply, and a write would
// otherwise send a delete for every index up to it.
inline constexpr int MaxSimSize = 1000;

// A read that takes in no line of its own for this long has stopped.
inline constexpr int ReadSilenceMs = 10000;

// The reply to the size query. nullopt when it is malformed: the size must be a plain number from 1 to
// MaxSimSize. Lengths that are missing or not plain numbers count as not reported.
std::optional<SimGeometry> parseSimGeometry(QByteArrayView line);

// One read of the unit's phone book, from the read chain's first command to the listing's last "OK".
// It only collects: entries go to the window once the listing is whole, so a read that is refused, cut
// off or garbled never replaces what the window shows. Lines of a read are taken only while one runs.
class UnitRead {
public:
    enum class Phase {
        Idle,     // no read under way
        Operator, // "AT#SPN" went out; the operator's name comes next
        Size,     // "AT+CPBR=?" went out; the SIM's size comes next
        Listing,  // "AT+CPBR=1,N" went out; entries come, then the final replies
    };
    enum class Outcome {
        None,      // no read has ended yet
        Whole,     // the whole SIM was listed
        NoListing, // the chain ended before a listing, as the protocol has it (script running, small SIM)
        Failed,    // refused, cut off, garbled or silent: see failure()
    };
    enum class Taken {
        Ignored,   // not part of a running read: logged only
        Taken,     // part of the read
        Malformed, // part of the read, but garbled: the read has failed
    };
    enum class Progress {
        None,     // nothing ended
        Complete, // the listing is whole: takeListing()
        Failed,   // the read ended without its listing: failure()
    };

    Phase phase() const { return m_phase; }
    bool underway() const { return m_phase != Phase::Idle; }
    Outcome outcome() const { return m_outcome; }
    // Why the last read failed, as a clause ("the unit answered \"ERROR\"").
    const QString &failure() const { return m_failure; }
    int entriesSoFar() const { return int(m_listing.entries.size()); }
    const std::optional<SimGeometry> &geometry() const { return m_geometry; }

    // The chain's first command went out: a new read starts, whatever ran before.
    void startChain();
    // The operator line arrived; `asksSize` when the size query went out after it.
    Taken operatorShown(bool asksSize);
    // A size line; Malformed ends the read.
    Taken sizeLine(QByteArrayView line);
    // The size is known and no listing follows (a SIM of 10 indexes or fewer, or no port).
    void endWithoutListing();
    // "AT+CPBR=1,N" went out; `finalReplies` is the number of final replies ("OK") still to come
    // before the listing is whole: the size query's own and the listing's, or only the listing's.
    void listingAsked(const SimGeometry &sim, int finalReplies);
    // An entry line; Malformed (unparsable, index outside the SIM or out of order) ends the read.
    Taken entryLine(QByteArrayView line);
    // A final reply: "OK", or a refusal ("ERROR", "+CME ERROR: ...").
    Progress finalReply(bool ok, QByteArrayView line);
    // The read ends without its listing (silence, a lost line, a cancelled chain).
    Progress fail(const QString &why);

    // The whole listing, once finalReply() said Complete.
    Listing takeListing();

private:
    void finish(Outcome outcome, const QString &why = {});

    Phase m_phase = Phase::Idle;
    Outcome m_outcome = Outcome::None;
    QString m_failure;
    std::optional<SimGeometry> m_geometry;
    Listing m_listing;
    int m_finalReplies = 0;
};

// How a message names the state of a read that ended without its listing, e.g.
// "the last read of the unit stopped after 12 entries: the unit answered \"ERROR\"".
QString describeFailedRead(const UnitRead &read);

} // namespace oxa
