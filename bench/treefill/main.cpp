// Prints how long filling one entry tree takes when a read delivers 250 tagged entries in reverse
// name order, the worst case for the exchange procedure: with the ordering the trees use, and with the
// plain procedure run after every addition. The floor for the trees is 10 ms. Then the same through
// the window: 250 tagged entries of a read (buttons, keypad memories, codes) arriving in reverse
// order into the five trees. Nothing is asserted.
#include "benchsupport.h"
#include "nodeorder.h"
#include "nodetext.h"
#include "replayport.h"
#include "tform1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QList>
#include <QTreeWidget>
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

struct TaggedEntry {
    QByteArray index, number, name;
};

// Button memories, keypad memories and access codes, 250 in all, last in tree order first.
QList<TaggedEntry> windowArrivals() {
    QList<TaggedEntry> entries;
    const auto add = [&entries](const QByteArray &name, const QByteArray &number) {
        entries.append({QByteArray::number(entries.size() + 1), number, name});
    };
    for (int button = 1; button <= 10; ++button)
        for (int position = 1; position <= 7; ++position)
            add("B" + QByteArray::number(button) + '-' + QByteArray::number(position),
                "+4206031" + QByteArray::number(10000 + entries.size()));
    for (int memory = 1; entries.size() < 220; ++memory)
        for (int position = 1; position <= 7 && entries.size() < 220; ++position)
            add("M" + QByteArray::number(memory) + '-' + QByteArray::number(position),
                "7771" + QByteArray::number(20000 + entries.size()));
    for (int code = 0; entries.size() < entryCount; ++code)
        add("C" + QByteArray::number(1000 + code * 37) + 'C', "1#" + QByteArray::number(code % 4) + "#05#0");
    std::stable_sort(entries.begin(), entries.end(), [](const TaggedEntry &a, const TaggedEntry &b) {
        return nodeTextLess(nodeText(b.index, b.name, b.number), nodeText(a.index, a.name, a.number));
    });
    return entries;
}

// Fills the window's trees as a read does; returns the median time of one fill in ms.
double fillWindowTrees(int argc, char *argv[], int *nodes) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::ReplayWindow window;
    TForm1 &form = window.form;
    QCoreApplication::processEvents();
    const QList<TaggedEntry> entries = windowArrivals();
    QList<double> times;
    for (int run = 0; run < 21; ++run) {
        form.clearTrees();
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        // As a whole listing fills them.
        for (const TaggedEntry &entry : entries)
            form.decodeTaggedEntry(entry.index, entry.number, entry.name);
        times << msSince(timer);
    }
    *nodes = 0;
    for (const char *tree : {"TreeButtons", "TreeButtonsSel", "TreeMemo", "TreeMemoSel", "TreeCode"})
        *nodes += form.ctl<QTreeWidget>(tree)->topLevelItemCount();
    return bench::median(times);
}

} // namespace

int main(int argc, char *argv[]) {
    const QList<QByteArray> texts = arrivals();

    QElapsedTimer timer;
    timer.start();
    const QList<QByteArray> ordered = fillInOrder(texts);
    const double orderedMs = msSince(timer);

    // Repeated to show the steady figure as well as the single first fill.
    constexpr int repeats = 200;
    QList<double> fills;
    for (int i = 0; i < repeats; ++i) {
        timer.restart();
        fillInOrder(texts);
        fills << msSince(timer);
    }
    const double orderedMeanMs = bench::median(fills);

    timer.restart();
    const QList<QByteArray> exchanged = fillByExchange(texts);
    const double exchangeMs = msSince(timer);

    std::printf("tree fill, %d entries arriving in reverse order\n", entryCount);
    std::printf("  ordering on addition:      %10.3f ms (first fill), %.3f ms (median of %d)\n", orderedMs,
                orderedMeanMs, repeats);
    std::printf("  neighbour exchange:        %10.3f ms\n", exchangeMs);
    std::printf("  ratio exchange / ordering: %10.1f\n", exchangeMs / orderedMs);
    std::printf("  same order:                %s\n", ordered == exchanged ? "yes" : "NO");
    std::printf("  ordering within %.0f ms:     %s\n", floorMs, orderedMs <= floorMs ? "yes" : "no");
    std::fflush(stdout);

    const double speedUp = exchangeMs / orderedMeanMs;
    bench::printRow(QStringLiteral("tree fill, %1 nodes in reverse order, one tree").arg(entryCount),
                    bench::millis(orderedMeanMs), QStringLiteral("exchange ") + bench::millis(exchangeMs),
                    speedUp, QStringLiteral(">= 100 x faster"),
                    ordered == exchanged && speedUp >= 100 ? "yes" : "NO");
    int nodes = 0;
    const double windowMs = fillWindowTrees(argc, argv, &nodes);
    bench::printRow(
        QStringLiteral("tree fill, %1 tagged entries into the window's five trees").arg(entryCount),
        bench::millis(windowMs), QStringLiteral("target ") + bench::millis(floorMs), windowMs / floorMs,
        QStringLiteral("<= 10 ms"), windowMs <= floorMs && nodes >= entryCount ? "yes" : "NO");
    if (nodes < entryCount)
        bench::printNote(QStringLiteral("tree fill: the five trees show %1 nodes of %2 entries")
                             .arg(nodes)
                             .arg(entryCount));
    if (ordered != exchanged)
        bench::printNote(QStringLiteral("tree fill: the ordering and the exchange procedure disagree"));
    return 0;
}
