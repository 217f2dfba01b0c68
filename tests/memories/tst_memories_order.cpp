// The order of the entry trees: the fast ordering must give exactly what the neighbour-exchange
// procedure gives, after every single addition, for any arrival order.
#include "nodeorder.h"

#include <QRandomGenerator>
#include <QTest>

using namespace oxa;

namespace {

// The tree's procedure written out independently of the library: the name is the text between the
// first ":" and the first "[", names compare byte by byte as unsigned values, a prefix first.
QByteArray plainName(const QByteArray &text) {
    const qsizetype colon = text.indexOf(':');
    const qsizetype bracket = text.indexOf('[');
    if (colon < 0 || bracket < 0 || bracket <= colon)
        return {};
    return text.mid(colon + 1, bracket - colon - 1);
}

bool plainLess(const QByteArray &a, const QByteArray &b) {
    for (qsizetype i = 0; i < a.size() && i < b.size(); ++i) {
        const auto x = static_cast<unsigned char>(a.at(i));
        const auto y = static_cast<unsigned char>(b.at(i));
        if (x != y)
            return x < y;
    }
    return a.size() < b.size();
}

void plainExchange(QList<QByteArray> &texts) {
    bool sorted;
    do {
        sorted = true;
        for (qsizetype i = 0; i + 1 < texts.size(); ++i) {
            if (plainLess(plainName(texts.at(i + 1)), plainName(texts.at(i)))) {
                std::swap(texts[i], texts[i + 1]);
                sorted = false;
            }
        }
    } while (!sorted);
}

// Tree filled the plain way: append, then run the exchange procedure.
QList<QByteArray> filledByExchange(const QList<QByteArray> &arrivals) {
    QList<QByteArray> tree;
    for (const QByteArray &text : arrivals) {
        tree.append(text);
        plainExchange(tree);
    }
    return tree;
}

QList<QByteArray> filledInOrder(const QList<QByteArray> &arrivals) {
    QList<QByteArray> tree;
    for (const QByteArray &text : arrivals)
        tree = withNodeAdded(tree, text);
    return tree;
}

// Random node texts from a small alphabet, so that equal names, prefixes, "-" against digits and
// bytes above 127 all occur often; some texts lack their markers.
QByteArray randomText(QRandomGenerator &random, int serial) {
    static const QByteArray alphabet("MBC-0129\x80\xff :[]", 14);
    const int shape = random.bounded(20);
    QByteArray name;
    const int length = random.bounded(5);
    for (int i = 0; i < length; ++i) {
        char c = alphabet.at(random.bounded(shape == 0 ? 14 : 10));
        name.append(c);
    }
    if (shape == 1)
        return name; // no markers at all
    return QByteArray::number(serial) + ':' + name + '[' + QByteArray::number(random.bounded(3)) + ']';
}

} // namespace

class TestOrder : public QObject {
    Q_OBJECT
private slots:
    void examples_data();
    void examples();
    void sameAsExchangeAfterEveryAddition();
    void sortedListSameAsExchangeOnAnyList();
    void addNodeInOrderKeepsTheSelectedRow();
};

void TestOrder::examples_data() {
    QTest::addColumn<QList<QByteArray>>("arrivals");
    QTest::addColumn<QList<QByteArray>>("ordered");

    QTest::newRow("M2-1 M1-2 M1-1") << QList<QByteArray>{"1:M2-1[1]", "2:M1-2[2]", "3:M1-1[3]"}
                                    << QList<QByteArray>{"3:M1-1[3]", "2:M1-2[2]", "1:M2-1[1]"};
    QTest::newRow("dash before digits") << QList<QByteArray>{"1:M2-1[]", "2:M12-1[]", "3:M1-2[]", "4:M1-1[]"}
                                        << QList<QByteArray>{"4:M1-1[]", "3:M1-2[]", "2:M12-1[]", "1:M2-1[]"};
    QTest::newRow("equal names keep arrival")
        << QList<QByteArray>{"9:M1-1[a]", "2:M1-1[b]", "5:M0-1[c]", "1:M1-1[d]"}
        << QList<QByteArray>{"5:M0-1[c]", "9:M1-1[a]", "2:M1-1[b]", "1:M1-1[d]"};
    QTest::newRow("index not in key") << QList<QByteArray>{"1:C9C[1#0]", "200:C10C[1#0]", "30:C1C[2#0]"}
                                      << QList<QByteArray>{"200:C10C[1#0]", "30:C1C[2#0]", "1:C9C[1#0]"};
    QTest::newRow("prefix first") << QList<QByteArray>{"1:M12-1[]", "2:M1[]", "3:M[]", "4:[]"}
                                  << QList<QByteArray>{"4:[]", "3:M[]", "2:M1[]", "1:M12-1[]"};
    QTest::newRow("bytes unsigned") << QList<QByteArray>{"1:\xe9-1[]", "2:z-1[]", "3:B-1[]", "4:a-1[]"}
                                    << QList<QByteArray>{"3:B-1[]", "4:a-1[]", "2:z-1[]", "1:\xe9-1[]"};
    QTest::newRow("one node") << QList<QByteArray>{"1:M1-1[]"} << QList<QByteArray>{"1:M1-1[]"};
}

void TestOrder::examples() {
    QFETCH(QList<QByteArray>, arrivals);
    QFETCH(QList<QByteArray>, ordered);
    QCOMPARE(filledByExchange(arrivals), ordered);
    QCOMPARE(filledInOrder(arrivals), ordered);
    QCOMPARE(sortedNodeTexts(arrivals), ordered);
    QList<QByteArray> byLibraryReference = arrivals;
    exchangeSortNodeTexts(byLibraryReference);
    QCOMPARE(byLibraryReference, ordered);
}

void TestOrder::sameAsExchangeAfterEveryAddition() {
    QRandomGenerator random(20240611);
    for (int trial = 0; trial < 1000; ++trial) {
        const int count = random.bounded(40);
        QList<QByteArray> reference;
        QList<QByteArray> fast;
        for (int serial = 1; serial <= count; ++serial) {
            const QByteArray text = randomText(random, serial);
            reference.append(text);
            plainExchange(reference);
            fast = withNodeAdded(fast, text);
            if (fast != reference) {
                qWarning() << "trial" << trial << "after" << serial << "additions";
                QCOMPARE(fast, reference);
            }
        }
    }
}

void TestOrder::sortedListSameAsExchangeOnAnyList() {
    QRandomGenerator random(77);
    for (int trial = 0; trial < 1000; ++trial) {
        QList<QByteArray> texts;
        const int count = random.bounded(30);
        for (int serial = 1; serial <= count; ++serial)
            texts.append(randomText(random, serial));
        QList<QByteArray> reference = texts;
        plainExchange(reference);
        QCOMPARE(sortedNodeTexts(texts), reference);
        // The library's own copy of the procedure, which the benchmark runs, agrees too.
        QList<QByteArray> libraryReference = texts;
        exchangeSortNodeTexts(libraryReference);
        QCOMPARE(libraryReference, reference);
        // The reference itself ends ordered by name.
        for (qsizetype i = 1; i < reference.size(); ++i)
            QVERIFY(!plainLess(plainName(reference.at(i)), plainName(reference.at(i - 1))));
    }
}

void TestOrder::addNodeInOrderKeepsTheSelectedRow() {
    // A widget-like tree: selection follows the selected row's item when rows are inserted above it.
    QList<QByteArray> rows;
    int selected = -1;
    const TreeRows tree{[&] { return int(rows.size()); }, [&](int row) { return rows.at(row); },
                        [&](int row, const QByteArray &text) {
                            rows.insert(row, text);
                            if (selected >= row)
                                ++selected;
                        },
                        [&] { return selected; }, [&](int row) { selected = row; }};

    // The exchange procedure's tree: rows fixed, texts moved, the selected row number fixed.
    QList<QByteArray> reference;
    int referenceSelected = -1;

    QRandomGenerator random(5);
    for (int trial = 0; trial < 300; ++trial) {
        rows.clear();
        reference.clear();
        selected = referenceSelected = -1;
        const int count = random.bounded(1, 30);
        for (int serial = 1; serial <= count; ++serial) {
            const QByteArray text = randomText(random, serial);
            const int row = addNodeInOrder(tree, text);
            reference.append(text);
            plainExchange(reference);
            QCOMPARE(rows.at(row), text);
            QCOMPARE(rows, reference);
            QCOMPARE(selected, referenceSelected);
            if (random.bounded(4) == 0) // the user clicks a row between two additions
                selected = referenceSelected = random.bounded(int(rows.size()));
        }
    }
}

QTEST_APPLESS_MAIN(TestOrder)
#include "tst_memories_order.moc"
