#include "nodeorder.h"

#include "nodetext.h"

#include <algorithm>

namespace oxa {

namespace {

bool nameLess(const QByteArray &a, const QByteArray &b) {
    return std::lexicographical_compare(a.cbegin(), a.cend(), b.cbegin(), b.cend(), [](char x, char y) {
        return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    });
}

} // namespace

bool nodeTextLess(const QByteArray &a, const QByteArray &b) {
    return nameLess(nodeName(a), nodeName(b));
}

int nodeInsertRow(int count, const std::function<QByteArray(int)> &textAt, const QByteArray &text) {
    const QByteArray name = nodeName(text);
    // Upper bound: the first row whose name is greater, so equal names keep their arrival order.
    int low = 0;
    int high = count;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (nameLess(name, nodeName(textAt(middle))))
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

int nodeInsertRow(const QList<QByteArray> &orderedTexts, const QByteArray &text) {
    return nodeInsertRow(
        int(orderedTexts.size()), [&orderedTexts](int row) { return orderedTexts.at(row); }, text);
}

QList<QByteArray> withNodeAdded(QList<QByteArray> orderedTexts, const QByteArray &text) {
    orderedTexts.insert(nodeInsertRow(orderedTexts, text), text);
    return orderedTexts;
}

int addNodeInOrder(const TreeRows &rows, const QByteArray &text) {
    const int row = nodeInsertRow(rows.count(), rows.textAt, text);
    const int selected = rows.selectedRow();
    rows.insertRow(row, text);
    if (selected >= row)
        rows.selectRow(selected);
    return row;
}

QList<QByteArray> sortedNodeTexts(QList<QByteArray> texts) {
    std::stable_sort(texts.begin(), texts.end(), nodeTextLess);
    return texts;
}

void exchangeSortNodeTexts(QList<QByteArray> &texts) {
    if (texts.size() < 2)
        return;
    bool sorted = false;
    while (!sorted) {
        sorted = true;
        for (qsizetype i = 0; i + 1 < texts.size(); ++i) {
            if (nameLess(nodeName(texts.at(i + 1)), nodeName(texts.at(i)))) {
                texts.swapItemsAt(i, i + 1);
                sorted = false;
            }
        }
    }
}

} // namespace oxa
