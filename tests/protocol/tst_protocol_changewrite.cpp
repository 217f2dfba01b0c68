// The change-only write leaves the SIM exactly as the whole write does, byte for byte: random
// configurations written over random SIMs (changed on the unit's side since the last read) by both,
// on two simulated units, then the two SIMs compared.
#include "changeplan.h"
#include "entryline.h"
#include "keyentries.h"
#include "unit.h"

#include <QRandomGenerator>
#include <QTest>

using namespace oxa;

namespace {

QByteArray randomText(QRandomGenerator &random, int maxLength, const char *alphabet) {
    const int length = random.bounded(1, maxLength + 1);
    const qsizetype letters = qstrlen(alphabet);
    QByteArray text;
    for (int i = 0; i < length; ++i)
        text += alphabet[random.bounded(int(letters))];
    return text;
}

QByteArray randomNumber(QRandomGenerator &random) {
    return (random.bounded(3) == 0 ? "+" : "") + randomText(random, 14, "0123456789*#");
}

QByteArray randomName(QRandomGenerator &random) {
    // Names the grid holds: tagged ones, keys by mistake, and any text (bytes above 127 too).
    switch (random.bounded(5)) {
    case 0:
        return "M" + QByteArray::number(random.bounded(20)) + "-" + QByteArray::number(random.bounded(1, 8));
    case 1:
        return "C" + QByteArray::number(random.bounded(1000)) + "C";
    case 2:
        return kWriteOrderKeys[size_t(random.bounded(int(kWriteOrderKeys.size())))];
    default:
        return randomText(random, 18, "abcXYZ 019-\xe1\xe8\xf8=[]:");
    }
}

// The module's side: a stopped unit whose SIM the commands change, one exchange at a time.
struct Module {
    explicit Module(const QList<sim::IndexedEntry> &content, int size) : unit(options(content, size)) {}
    static sim::UnitOptions options(const QList<sim::IndexedEntry> &content, int size) {
        sim::UnitOptions o;
        o.startRunning = false;
        o.simSize = size;
        o.simContent = content;
        o.timing = sim::Timing::instant();
        return o;
    }
    QByteArray exchange(const QByteArray &command) {
        unit.receive(command);
        unit.advanceTo(unit.now());
        return unit.takeOutput();
    }
    // The SIM as a listing, as the program reads it.
    Listing listing() const {
        Listing result;
        result.sim = SimGeometry{unit.sim().size(), sim::SimCard::NumberLength, sim::SimCard::NameLength};
        for (const sim::IndexedEntry &e : unit.sim().usedEntries())
            result.entries.append(
                ReadEntry{e.index, QByteArray::number(e.index), e.entry.number, e.entry.name, e.entry.type});
        return result;
    }
    QList<sim::IndexedEntry> dump() const { return unit.sim().usedEntries(); }
    sim::Unit unit;
};

} // namespace

class TestChangeWrite : public QObject {
    Q_OBJECT
private slots:
    void changesOnlyWhatDiffers();
    void endsAsTheWholeWriteDoes_data();
    void endsAsTheWholeWriteDoes();
    void verificationNamesEveryDifferingIndex();
};

void TestChangeWrite::changesOnlyWhatDiffers() {
    QList<QByteArray> keys(WriteKeyCount);
    keys[0] = "+420111";
    keys[23] = "4#4#0#0#1#7#2#0";
    const QList<std::optional<SimSlot>> layout = wholeWriteLayout(keys, {{"Novak", "602"}, {"", "9"}}, 6);
    QCOMPARE(layout, (QList<std::optional<SimSlot>>{
                         SimSlot{"ADMIN1", "+420111"}, SimSlot{"PAROXA", "4#4#0#0#1#7#2#0"},
                         SimSlot{"Novak", "602"}, std::nullopt, std::nullopt, std::nullopt}));
    Listing listing;
    listing.sim = SimGeometry{6, 40, 18};
    listing.entries = {{1, "1", "+420111", "ADMIN1", 145},
                       {2, "2", "4#4#0#0#1#7#2#0", "PAROXA", 129},
                       {3, "3", "602", "Eva", 129},
                       {5, "5", "1", "DETECT", 129}};
    const QList<ChangeAction> actions = planChangedWrite(layout, listing);
    QCOMPARE(actions.size(), 2);
    QCOMPARE(actions[0].command, QByteArray("AT+CPBW=3,602,,Novak\r\n"));
    QCOMPARE(actions[0].log, QString("SIM3"));
    QCOMPARE(actions[1].command, QByteArray("AT+CPBW=5\r\n"));
    QCOMPARE(actions[1].log, QString("delete SIM5"));
    // The same number stored with another type is written again: the whole write would leave 145.
    listing.entries[0].type = 129;
    QCOMPARE(planChangedWrite(layout, listing).first().index, 1);
}

void TestChangeWrite::endsAsTheWholeWriteDoes_data() {
    QTest::addColumn<quint32>("seed");
    for (quint32 seed = 1; seed <= 300; ++seed)
        QTest::addRow("seed %u", seed) << seed;
}

void TestChangeWrite::endsAsTheWholeWriteDoes() {
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    const int size = random.bounded(11, 60);

    // The configuration in the window: some keys, some rows (some without a name or number).
    QList<QByteArray> keys(WriteKeyCount);
    for (QByteArray &key : keys)
        if (random.bounded(3) == 0)
            key = randomNumber(random);
    QList<WriteRow> rows;
    for (int row = random.bounded(size); row > 0; --row)
        rows.append({random.bounded(8) == 0 ? QByteArray() : randomName(random),
                     random.bounded(8) == 0 ? QByteArray() : randomNumber(random)});
    // More entries than indexes is refused before any write: keep to what fits.
    const SimGeometry sim{size, sim::SimCard::NumberLength, sim::SimCard::NameLength};
    while (!checkWholeWrite(keys, rows, sim).isEmpty()) {
        if (!rows.isEmpty())
            rows.removeLast();
        else
            std::find_if(keys.rbegin(), keys.rend(), [](const QByteArray &key) {
                return !key.isEmpty();
            })->clear();
    }

    // The SIM: for half the seeds any content, for the others this configuration written earlier; then
    // changed on the unit's side (by SMS, another PC, another tool with another number type).
    const auto randomEntry = [&random] {
        sim::SimEntry entry{randomNumber(random), randomName(random)};
        entry.type = random.bounded(6) == 0 ? 161 : sim::SimEntry::typeOf(entry.number);
        return entry;
    };
    QList<sim::IndexedEntry> content;
    if (seed % 2 == 0) {
        for (int index = 1; index <= size; ++index)
            if (random.bounded(3) != 0)
                content.append({index, randomEntry()});
    } else {
        const QList<std::optional<SimSlot>> earlier = wholeWriteLayout(keys, rows, size);
        for (int index = 1; index <= size; ++index)
            if (const std::optional<SimSlot> &slot = earlier[index - 1])
                content.append(
                    {index, sim::SimEntry{slot->number, slot->name, sim::SimEntry::typeOf(slot->number)}});
    }
    for (int change = random.bounded(5); change > 0; --change) {
        const int index = random.bounded(1, size + 1);
        const auto at = std::find_if(content.begin(), content.end(),
                                     [index](const sim::IndexedEntry &e) { return e.index == index; });
        switch (random.bounded(3)) {
        case 0:
            if (at != content.end())
                content.erase(at);
            break;
        case 1:
            if (at != content.end())
                at->entry.type = 161; // the same entry, stored with another type
            break;
        default:
            if (at != content.end())
                content.erase(at);
            content.append({index, randomEntry()});
            break;
        }
    }
    std::sort(content.begin(), content.end(),
              [](const sim::IndexedEntry &a, const sim::IndexedEntry &b) { return a.index < b.index; });

    Module whole(content, size);
    for (const WriteAction &action : planWrite(keys, rows, size))
        if (action.kind != WriteAction::Kind::Finish)
            QVERIFY(whole.exchange(action.command).contains("OK"));

    Module changed(content, size);
    const QList<std::optional<SimSlot>> layout = wholeWriteLayout(keys, rows, size);
    const QList<ChangeAction> actions = planChangedWrite(layout, changed.listing());
    for (const ChangeAction &action : actions)
        QVERIFY2(changed.exchange(action.command).contains("OK"), action.command.constData());

    QCOMPARE(changed.dump(), whole.dump());
    const WriteVerification verification = verifyWrite(layout, changed.listing());
    QVERIFY(verification.ok());
    // Never more commands than the whole write's indexes.
    QVERIFY(actions.size() <= size);
}

void TestChangeWrite::verificationNamesEveryDifferingIndex() {
    const QList<std::optional<SimSlot>> layout{SimSlot{"ADMIN1", "+1"}, std::nullopt, SimSlot{"Eva", "5"}};
    Listing readBack;
    readBack.entries = {
        {1, "1", "+1", "ADMIN1", 145}, {2, "2", "7", "Stray", 129}, {4, "4", "1", "Beyond", 129}};
    const WriteVerification verification = verifyWrite(layout, readBack);
    QCOMPARE(verification.differing, (QList<int>{2, 3, 4}));
    QCOMPARE(describeVerification(verification, 2),
             QString("SIM indexes 2, 3, 4 differ from what was written"));
    readBack.entries = {{1, "1", "+1", "ADMIN1", 145}, {3, "3", "5", "Eva", 129}};
    QCOMPARE(describeVerification(verifyWrite(layout, readBack), 1),
             QString("verified: 2 entries, 1 changed"));
}

QTEST_APPLESS_MAIN(TestChangeWrite)
#include "tst_protocol_changewrite.moc"
