#include "unitread.h"

#include <QObject>

#include <utility>

namespace oxa {

namespace {

// Digits only, at least one, blanks around them allowed; nullopt otherwise or above `limit`.
std::optional<int> plainNumber(QByteArrayView text, int limit) {
    text = text.trimmed();
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > limit)
        return std::nullopt;
    return value;
}

QString quoted(QByteArrayView line) {
    return QLatin1Char('"') + QString::fromLatin1(line) + QLatin1Char('"');
}

} // namespace

std::optional<SimGeometry> parseSimGeometry(QByteArrayView line) {
    const QByteArrayView opening("(1-");
    const qsizetype start = line.indexOf(opening);
    if (start < 0)
        return std::nullopt;
    const qsizetype sizeStart = start + opening.size();
    const qsizetype close = line.indexOf(')', sizeStart);
    if (close < 0)
        return std::nullopt;
    const std::optional<int> size = plainNumber(line.sliced(sizeStart, close - sizeStart), MaxSimSize);
    if (!size || *size < 1)
        return std::nullopt;
    SimGeometry geometry;
    geometry.size = *size;
    // ",numberLength,textLength" after the range.
    const QByteArrayView rest = line.sliced(close + 1);
    if (rest.startsWith(',')) {
        const QList<QByteArray> fields = rest.sliced(1).toByteArray().split(',');
        if (fields.size() >= 1)
            geometry.numberLength = plainNumber(fields[0], 100000).value_or(0);
        if (fields.size() >= 2)
            geometry.textLength = plainNumber(fields[1], 100000).value_or(0);
    }
    return geometry;
}

void UnitRead::startChain() {
    m_phase = Phase::Operator;
    m_outcome = Outcome::None;
    m_failure.clear();
    m_geometry.reset();
    m_listing = Listing{};
    m_finalReplies = 0;
}

UnitRead::Taken UnitRead::operatorShown(bool asksSize) {
    if (m_phase != Phase::Operator)
        return Taken::Ignored;
    if (asksSize)
        m_phase = Phase::Size;
    else
        finish(Outcome::NoListing);
    return Taken::Taken;
}

UnitRead::Taken UnitRead::sizeLine(QByteArrayView line) {
    if (m_phase != Phase::Size)
        return Taken::Ignored;
    const std::optional<SimGeometry> geometry = parseSimGeometry(line);
    if (!geometry) {
        finish(Outcome::Failed,
               QObject::tr("the unit gave its SIM size as %1, which is not a number from 1 to %2")
                   .arg(quoted(line))
                   .arg(MaxSimSize));
        return Taken::Malformed;
    }
    m_geometry = *geometry;
    return Taken::Taken;
}

void UnitRead::endWithoutListing() {
    if (m_phase != Phase::Idle)
        finish(Outcome::NoListing);
}

void UnitRead::listingAsked(const SimGeometry &sim, int finalReplies) {
    m_phase = Phase::Listing;
    m_outcome = Outcome::None;
    m_failure.clear();
    m_geometry = sim;
    m_listing = Listing{sim, {}};
    m_finalReplies = std::max(finalReplies, 1);
}

UnitRead::Taken UnitRead::entryLine(QByteArrayView line) {
    if (m_phase != Phase::Listing)
        return Taken::Ignored;
    const std::optional<ReadEntry> entry = parseEntryLine(line);
    if (!entry) {
        finish(Outcome::Failed, QObject::tr("the entry line %1 cannot be read").arg(quoted(line)));
        return Taken::Malformed;
    }
    const int previous = m_listing.entries.isEmpty() ? 0 : m_listing.entries.last().index;
    if (entry->index < 1 || entry->index > m_listing.sim.size || entry->index <= previous) {
        finish(Outcome::Failed,
               QObject::tr("the entry line %1 names an index out of order or outside the SIM")
                   .arg(quoted(line)));
        return Taken::Malformed;
    }
    m_listing.entries.append(*entry);
    return Taken::Taken;
}

UnitRead::Progress UnitRead::finalReply(bool ok, QByteArrayView line) {
    switch (m_phase) {
    case Phase::Idle:
        return Progress::None;
    case Phase::Operator:
    case Phase::Size:
        // The "OK" of the operator query comes after its line, when the size query is already out.
        if (ok)
            return Progress::None;
        break;
    case Phase::Listing:
        if (ok) {
            if (--m_finalReplies > 0)
                return Progress::None;
            finish(Outcome::Whole);
            return Progress::Complete;
        }
        break;
    }
    finish(Outcome::Failed, QObject::tr("the unit answered %1").arg(quoted(line)));
    return Progress::Failed;
}

UnitRead::Progress UnitRead::fail(const QString &why) {
    if (m_phase == Phase::Idle)
        return Progress::None;
    finish(Outcome::Failed, why);
    return Progress::Failed;
}

Listing UnitRead::takeListing() {
    return std::exchange(m_listing, Listing{m_listing.sim, {}});
}

void UnitRead::finish(Outcome outcome, const QString &why) {
    m_phase = Phase::Idle;
    m_outcome = outcome;
    m_failure = why;
    m_finalReplies = 0;
}

QString describeFailedRead(const UnitRead &read) {
    const int count = read.entriesSoFar();
    const QString entries = count == 1 ? QObject::tr("1 entry") : QObject::tr("%1 entries").arg(count);
    return QObject::tr("the read of the unit stopped after %1: %2").arg(entries, read.failure());
}

} // namespace oxa
