// Prints how long filling one entry tree takes when a read delivers 250 tagged entries in reverse
// name order, the worst case for the exchange procedure: with the ordering the trees use, and with the
// plain procedure run after every addition. The floor for the trees is 10 ms. Nothing is asserted.
#include "nodeorder.h"
#include "nodetext.h"

#include <QElapsedTimer>
#include <QList>
#include <algorithm>
#include <cstdio>

using namespace oxa;

namespace {

constexpr int entryCount = 250;
constexpr double floorMs = 10.0;

// Keypad memories M1-1 .. M36-7, the first 250 in tree order, delivered last first.
QList<QByteArray> arrivals() {
    QList<QByteArray> texts;
    for (int memory = 1; memory <= 36; ++memory) {
        for (int position = 1; position <= 7; ++position) {
            const QByteArray name = "M" + QByteArray::number(memory) + '-' + QByteArray::number(position);
            texts.append(nodeText(QByteArray::number(texts.size() + 1), name,
                                  "+420" + QByteArray::number(texts.size())));
        }
    }
    texts = sortedNodeTexts(texts);
    texts.resize(entryCount);
    std::reverse(texts.begin(), texts.end());
    return texts;
}

// The tree as the window keeps it, with one row selected.
QList<QByteArray> fillInOrder(const QList<QByteArray> &texts) {
    QList<QByteArray> rows;
    int selected = -1;
    const TreeRows tree{[&] { return int(rows.size()); }, [&](int row) { return rows.at(row); },
                        [&](int row, const QByteArray &text) {
                            rows.insert(row, text);
                            if (selected >= row)
                                ++selected;
                        },
                        [&] { return selected; }, [&](int row) { selected = row; }};
    for (const QByteArray &text : texts) {
        addNodeInOrder(tree, text);
        if (selected < 0)
            selected = 0;
    }
    return rows;
}

QList<QByteArray> fillByExchange(const QList<QByteArray> &texts) {
    QList<QByteArray> rows;
    for (const QByteArray &text : texts) {
        rows.append(text);
        exchangeSortNodeTexts(rows);
    }
    return rows;
}

double msSince(const QElapsedTimer &timer) {
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main() {
    const QList<QByteArray> texts = arrivals();

    QElapsedTimer timer;
    timer.start();
    const QList<QByteArray> ordered = fillInOrder(texts);
    const double orderedMs = msSince(timer);

    // Repeated to show the steady figure as well as the single first fill.
    constexpr int repeats = 200;
    timer.restart();
    for (int i = 0; i < repeats; ++i)
        fillInOrder(texts);
    const double orderedMeanMs = msSince(timer) / repeats;

    timer.restart();
    const QList<QByteArray> exchanged = fillByExchange(texts);
    const double exchangeMs = msSince(timer);

    std::printf("tree fill, %d entries arriving in reverse order\n", entryCount);
    std::printf("  ordering on addition:      %10.3f ms (first fill), %.3f ms (mean of %d)\n", orderedMs,
                orderedMeanMs, repeats);
    std::printf("  neighbour exchange:        %10.3f ms\n", exchangeMs);
    std::printf("  ratio exchange / ordering: %10.1f\n", exchangeMs / orderedMs);
    std::printf("  same order:                %s\n", ordered == exchanged ? "yes" : "NO");
    std::printf("  ordering within %.0f ms:     %s\n", floorMs, orderedMs <= floorMs ? "yes" : "no");
    return ordered == exchanged ? 0 : 1;
}
