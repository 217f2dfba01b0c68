#pragma once

#include <QList>

namespace oxa {

// Where the tabs of the window's page controls go: arithmetic on the tabs' widths, kept apart from the
// tab bars that draw them.

struct TabPlace {
    int row = 0; // counted from the first row filled, whatever order the rows are shown in
    int x = 0;
    int width = 0;
    friend bool operator==(const TabPlace &, const TabPlace &) = default;
};

// Tabs in order, wrapping onto a further row when the next one does not fit. With more than one row
// every row is widened to the full width, its tabs sharing the extra, as rows of tabs are shown. A tab
// wider than a whole row has a row of its own, as wide as the row.
QList<TabPlace> placeTabsInRows(const QList<int> &widths, int rowWidth);
int tabRowCount(const QList<TabPlace> &places);

// How the captions of one row of tabs share `room`: the text width each gets and on how many lines.
struct CaptionFit {
    int width = 0;
    int lines = 1;
    friend bool operator==(const CaptionFit &, const CaptionFit &) = default;
};
// Every caption on one line while they all fit; then, widest first, captions that a blank can break
// go onto two lines (twoLines: the width broken, equal to oneLine when there is no blank); if even
// then they do not fit, the widest are cut to a common width and shown shortened.
QList<CaptionFit> fitCaptions(const QList<int> &oneLine, const QList<int> &twoLines, int room);

} // namespace oxa
