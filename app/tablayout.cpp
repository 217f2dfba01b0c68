#include "tablayout.h"

#include <algorithm>
#include <numeric>

namespace oxa {

namespace {

int sumOf(const QList<int> &values) {
    return std::accumulate(values.cbegin(), values.cend(), 0);
}

} // namespace

QList<TabPlace> placeTabsInRows(const QList<int> &widths, int rowWidth) {
    QList<TabPlace> places;
    int row = 0;
    int x = 0;
    for (const int width : widths) {
        if (x > 0 && x + width > rowWidth) {
            ++row;
            x = 0;
        }
        places.append({row, x, std::min(width, std::max(rowWidth, 1))});
        x += width;
    }
    if (tabRowCount(places) < 2)
        return places;
    // Widen each row to the full width: the extra is shared out, the last tab taking what is left.
    for (qsizetype first = 0; first < places.size();) {
        qsizetype last = first;
        while (last + 1 < places.size() && places[last + 1].row == places[first].row)
            ++last;
        const int count = int(last - first + 1);
        const int extra = rowWidth - (places[last].x + places[last].width);
        int shift = 0;
        for (qsizetype i = first; i <= last; ++i) {
            const int share = i == last ? extra - (extra / count) * (count - 1) : extra / count;
            places[i].x += shift;
            places[i].width += share;
            shift += share;
        }
        first = last + 1;
    }
    return places;
}

int tabRowCount(const QList<TabPlace> &places) {
    return places.isEmpty() ? 0 : places.last().row + 1;
}

QList<CaptionFit> fitCaptions(const QList<int> &oneLine, const QList<int> &twoLines, int room) {
    QList<int> widths = oneLine;
    QList<CaptionFit> fits;
    for (const int width : oneLine)
        fits.append({width, 1});
    // Break the widest breakable caption, one at a time, until the row fits.
    while (sumOf(widths) > room) {
        qsizetype widest = -1;
        for (qsizetype i = 0; i < widths.size(); ++i)
            if (fits[i].lines == 1 && twoLines.value(i, widths[i]) < widths[i] &&
                (widest < 0 || widths[i] > widths[widest]))
                widest = i;
        if (widest < 0)
            break;
        widths[widest] = twoLines[widest];
        fits[widest] = {widths[widest], 2};
    }
    if (sumOf(widths) <= room || widths.isEmpty())
        return fits;
    // Still too wide: the largest common width that fits cuts the widest captions.
    QList<int> sorted = widths;
    std::sort(sorted.begin(), sorted.end());
    int below = 0; // sum of the captions narrower than the cut
    int cut = sorted.last();
    for (qsizetype i = 0; i < sorted.size(); ++i) {
        const int remaining = int(sorted.size() - i);
        const int candidate = (room - below) / remaining;
        if (candidate < sorted[i]) {
            cut = std::max(candidate, 0);
            break;
        }
        below += sorted[i];
    }
    for (qsizetype i = 0; i < fits.size(); ++i)
        fits[i].width = std::min(widths[i], cut);
    return fits;
}

} // namespace oxa
