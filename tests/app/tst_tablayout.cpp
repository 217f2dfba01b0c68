// Where tabs go: rows of tabs that wrap, and captions that share a row beside their icons.
#include "tablayout.h"

#include <QTest>

using namespace oxa;

using Places = QList<TabPlace>;
using Fits = QList<CaptionFit>;

class TestTabLayout : public QObject {
    Q_OBJECT
private slots:
    void tabsWrapOntoRows_data();
    void tabsWrapOntoRows();
    void captionsShareTheRow_data();
    void captionsShareTheRow();
};

void TestTabLayout::tabsWrapOntoRows_data() {
    QTest::addColumn<QList<int>>("widths");
    QTest::addColumn<int>("rowWidth");
    QTest::addColumn<Places>("places");

    QTest::newRow("one row keeps the widths")
        << QList<int>{40, 60, 50} << 200 << Places{{0, 0, 40}, {0, 40, 60}, {0, 100, 50}};
    QTest::newRow("exactly full") << QList<int>{100, 100} << 200 << Places{{0, 0, 100}, {0, 100, 100}};
    // Each row widened to the full width, its tabs sharing the extra.
    QTest::newRow("two rows, each widened")
        << QList<int>{50, 40, 80} << 100 << Places{{0, 0, 55}, {0, 55, 45}, {1, 0, 100}};
    QTest::newRow("extra shared, remainder to the last")
        << QList<int>{30, 30, 30, 95} << 100 << Places{{0, 0, 33}, {0, 33, 33}, {0, 66, 34}, {1, 0, 100}};
    QTest::newRow("a tab wider than the row has a row of its own")
        << QList<int>{40, 250, 40} << 100 << Places{{0, 0, 100}, {1, 0, 100}, {2, 0, 100}};
    QTest::newRow("no tabs") << QList<int>{} << 100 << Places{};
}

void TestTabLayout::tabsWrapOntoRows() {
    QFETCH(QList<int>, widths);
    QFETCH(int, rowWidth);
    QFETCH(Places, places);
    const Places placed = placeTabsInRows(widths, rowWidth);
    QCOMPARE(placed, places);
    QCOMPARE(tabRowCount(placed), places.isEmpty() ? 0 : places.last().row + 1);
    // No tab narrower than it asked for, unless it is wider than a row.
    for (qsizetype i = 0; i < placed.size(); ++i)
        QVERIFY(placed[i].width >= std::min(widths[i], rowWidth));
}

void TestTabLayout::captionsShareTheRow_data() {
    QTest::addColumn<QList<int>>("oneLine");
    QTest::addColumn<QList<int>>("twoLines");
    QTest::addColumn<int>("room");
    QTest::addColumn<Fits>("fits");

    QTest::newRow("all fit on one line")
        << QList<int>{46, 71, 43} << QList<int>{46, 37, 43} << 160 << Fits{{46, 1}, {71, 1}, {43, 1}};
    QTest::newRow("the widest breaks first")
        << QList<int>{46, 71, 60} << QList<int>{46, 37, 31} << 150 << Fits{{46, 1}, {37, 2}, {60, 1}};
    QTest::newRow("then the next widest")
        << QList<int>{46, 71, 60} << QList<int>{46, 37, 31} << 120 << Fits{{46, 1}, {37, 2}, {31, 2}};
    // No blank to break at: the widest are cut to the largest common width that fits.
    QTest::newRow("cut when breaking is not enough")
        << QList<int>{46, 71, 60} << QList<int>{46, 37, 60} << 130 << Fits{{46, 1}, {37, 2}, {47, 1}};
    QTest::newRow("all cut alike") << QList<int>{50, 50} << QList<int>{50, 50} << 60
                                   << Fits{{30, 1}, {30, 1}};
    QTest::newRow("hidden tabs take nothing")
        << QList<int>{0, 90, 0} << QList<int>{0, 50, 0} << 60 << Fits{{0, 1}, {50, 2}, {0, 1}};
}

void TestTabLayout::captionsShareTheRow() {
    QFETCH(QList<int>, oneLine);
    QFETCH(QList<int>, twoLines);
    QFETCH(int, room);
    QFETCH(Fits, fits);
    const Fits fitted = fitCaptions(oneLine, twoLines, room);
    QCOMPARE(fitted, fits);
    int total = 0;
    for (const CaptionFit &fit : fitted)
        total += fit.width;
    QVERIFY(total <= room);
}

QTEST_GUILESS_MAIN(TestTabLayout)
#include "tst_tablayout.moc"
