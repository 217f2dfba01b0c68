#include "memories_trees.h"

#include "nodeorder.h"

#include <QTreeWidget>
#include <algorithm>

namespace oxa {

namespace {

QByteArray textOf(const QTreeWidgetItem *item) {
    return item->text(0).toLatin1();
}

TreeRows rowsOf(QTreeWidget *tree) {
    return TreeRows{
        [tree] { return tree->topLevelItemCount(); },
        [tree](int row) { return textOf(tree->topLevelItem(row)); },
        [tree](int row, const QByteArray &text) {
            tree->insertTopLevelItem(row, new QTreeWidgetItem(QStringList{QString::fromLatin1(text)}));
        },
        [tree] {
            const QList<QTreeWidgetItem *> selected = tree->selectedItems();
            return selected.isEmpty() ? -1 : tree->indexOfTopLevelItem(selected.first());
        },
        [tree](int row) { tree->setCurrentItem(tree->topLevelItem(row)); },
    };
}

} // namespace

QList<QByteArray> treeTexts(const QTreeWidget *tree) {
    QList<QByteArray> texts;
    texts.reserve(tree->topLevelItemCount());
    for (int row = 0; row < tree->topLevelItemCount(); ++row)
        texts.append(textOf(tree->topLevelItem(row)));
    return texts;
}

std::optional<QByteArray> selectedNodeText(const QTreeWidget *tree) {
    const QList<QTreeWidgetItem *> selected = tree->selectedItems();
    if (selected.isEmpty())
        return std::nullopt;
    return textOf(selected.first());
}

void addNodeInOrder(QTreeWidget *tree, const QByteArray &text) {
    addNodeInOrder(rowsOf(tree), text);
}

void fillTree(QTreeWidget *tree, const QList<QByteArray> &texts) {
    tree->clear();
    for (const QByteArray &text : texts)
        addNodeInOrder(tree, text);
}

bool restoreNodeOrder(QTreeWidget *tree) {
    const QList<QByteArray> texts = treeTexts(tree);
    if (std::is_sorted(texts.cbegin(), texts.cend(), nodeTextLess))
        return false;
    const QList<QByteArray> ordered = sortedNodeTexts(texts);
    for (int row = 0; row < ordered.size(); ++row)
        tree->topLevelItem(row)->setText(0, QString::fromLatin1(ordered.at(row)));
    return true;
}

bool nodesInOrderAround(const QTreeWidget *tree, int first, int last) {
    const int from = std::max(0, first - 1);
    const int to = std::min(tree->topLevelItemCount() - 1, last + 1);
    for (int row = from; row < to; ++row)
        if (nodeTextLess(textOf(tree->topLevelItem(row + 1)), textOf(tree->topLevelItem(row))))
            return false;
    return true;
}

void clearNodeSelection(QTreeWidget *tree) {
    tree->clearSelection();
    tree->setCurrentItem(nullptr);
}

} // namespace oxa
