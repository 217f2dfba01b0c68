#include "memories_trees.h"

#include "nodeorder.h"
#include "shownbytes.h"

#include <QTreeWidget>
#include <algorithm>

namespace oxa {

namespace {

QByteArray textOf(const QTreeWidgetItem *item, const CodePageCodec &codec) {
    return shownTextBytes(codec, item->text(0));
}

TreeRows rowsOf(QTreeWidget *tree, const CodePageCodec &codec) {
    return TreeRows{
        [tree] { return tree->topLevelItemCount(); },
        [tree, &codec](int row) { return textOf(tree->topLevelItem(row), codec); },
        [tree, &codec](int row, const QByteArray &text) {
            tree->insertTopLevelItem(row, new QTreeWidgetItem(QStringList{codec.decode(text)}));
        },
        [tree] {
            const QList<QTreeWidgetItem *> selected = tree->selectedItems();
            return selected.isEmpty() ? -1 : tree->indexOfTopLevelItem(selected.first());
        },
        [tree](int row) { tree->setCurrentItem(tree->topLevelItem(row)); },
    };
}

} // namespace

QList<QByteArray> treeTexts(const QTreeWidget *tree, const CodePageCodec &codec) {
    QList<QByteArray> texts;
    texts.reserve(tree->topLevelItemCount());
    for (int row = 0; row < tree->topLevelItemCount(); ++row)
        texts.append(textOf(tree->topLevelItem(row), codec));
    return texts;
}

std::optional<QByteArray> selectedNodeText(const QTreeWidget *tree, const CodePageCodec &codec) {
    const QList<QTreeWidgetItem *> selected = tree->selectedItems();
    if (selected.isEmpty())
        return std::nullopt;
    return textOf(selected.first(), codec);
}

void addNodeInOrder(QTreeWidget *tree, const QByteArray &text, const CodePageCodec &codec) {
    addNodeInOrder(rowsOf(tree, codec), text);
}

void fillTree(QTreeWidget *tree, const QList<QByteArray> &texts, const CodePageCodec &codec) {
    tree->clear();
    for (const QByteArray &text : texts)
        addNodeInOrder(tree, text, codec);
}

bool restoreNodeOrder(QTreeWidget *tree, const CodePageCodec &codec) {
    const QList<QByteArray> texts = treeTexts(tree, codec);
    if (std::is_sorted(texts.cbegin(), texts.cend(), nodeTextLess))
        return false;
    const QList<QByteArray> ordered = sortedNodeTexts(texts);
    for (int row = 0; row < ordered.size(); ++row)
        tree->topLevelItem(row)->setText(0, codec.decode(ordered.at(row)));
    return true;
}

bool nodesInOrderAround(const QTreeWidget *tree, int first, int last, const CodePageCodec &codec) {
    const int from = std::max(0, first - 1);
    const int to = std::min(tree->topLevelItemCount() - 1, last + 1);
    for (int row = from; row < to; ++row) {
        const std::optional<QByteArray> upper = codec.encode(tree->topLevelItem(row)->text(0));
        const std::optional<QByteArray> lower = codec.encode(tree->topLevelItem(row + 1)->text(0));
        if (!upper || !lower || nodeTextLess(*lower, *upper))
            return false;
    }
    return true;
}

void clearNodeSelection(QTreeWidget *tree) {
    tree->clearSelection();
    tree->setCurrentItem(nullptr);
}

} // namespace oxa
