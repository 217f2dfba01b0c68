#include "rowstabbar.h"

#include "tablayout.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QToolTip>

namespace oxa {

namespace {
// The tab bar starts a little in from the page control's edge.
constexpr int BarInset = 2;
} // namespace

RowsTabBar::RowsTabBar(QWidget *parent) : QTabBar(parent) {
    setUsesScrollButtons(false);
    setAttribute(Qt::WA_Hover);
    // The current tab's row moves next to the page.
    connect(this, &QTabBar::currentChanged, this, qOverload<>(&QWidget::update));
}

int RowsTabBar::rowWidth() const {
    return parentWidget() ? parentWidget()->width() - 2 * BarInset : width();
}

RowsTabBar::Layout RowsTabBar::layout() const {
    QList<int> shown;
    QList<int> widths;
    int rowHeight = 0;
    for (int i = 0; i < count(); ++i) {
        if (!isTabVisible(i))
            continue;
        const QSize size = tabSizeHint(i);
        shown.append(i);
        widths.append(size.width());
        rowHeight = std::max(rowHeight, size.height());
    }
    const QList<TabPlace> places = placeTabsInRows(widths, rowWidth());
    Layout result;
    result.places.resize(count());
    result.rows = tabRowCount(places);
    int currentRow = -1;
    for (qsizetype k = 0; k < shown.size(); ++k)
        if (shown[k] == currentIndex())
            currentRow = places[k].row;
    for (qsizetype k = 0; k < shown.size(); ++k) {
        int row = places[k].row;
        if (currentRow >= 0)
            row = (row + result.rows - 1 - currentRow) % result.rows; // the current row last
        result.places[shown[k]] = QRect(places[k].x, row * rowHeight, places[k].width, rowHeight);
    }
    return result;
}

QRect RowsTabBar::tabPlace(int index) const {
    return layout().places.value(index);
}

int RowsTabBar::tabRows() const {
    return layout().rows;
}

QSize RowsTabBar::sizeHint() const {
    const Layout l = layout();
    QRect all;
    for (const QRect &place : l.places)
        all |= place;
    return all.size();
}

int RowsTabBar::tabAtPoint(const QPoint &point) const {
    const Layout l = layout();
    for (int i = 0; i < l.places.size(); ++i)
        if (l.places[i].contains(point))
            return i;
    return -1;
}

void RowsTabBar::setHovered(int index) {
    if (index == m_hovered)
        return;
    m_hovered = index;
    update();
}

// Hover and tooltips follow the tabs as drawn here, not the one row QTabBar would lay out.
bool RowsTabBar::event(QEvent *event) {
    switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
        setHovered(tabAtPoint(static_cast<QHoverEvent *>(event)->position().toPoint()));
        return true;
    case QEvent::HoverLeave:
        setHovered(-1);
        return true;
    case QEvent::ToolTip: {
        auto *help = static_cast<QHelpEvent *>(event);
        const int index = tabAtPoint(help->pos());
        if (index >= 0 && !tabToolTip(index).isEmpty())
            QToolTip::showText(help->globalPos(), tabToolTip(index), this, tabPlace(index));
        else
            QToolTip::hideText();
        return true;
    }
    default:
        return QTabBar::event(event);
    }
}

void RowsTabBar::paintEvent(QPaintEvent *) {
    QStylePainter painter(this);
    const Layout l = layout();
    // The current tab last, so that it lies over its neighbours as tabs do.
    QList<int> order;
    for (int i = 0; i < count(); ++i)
        if (isTabVisible(i) && i != currentIndex())
            order.append(i);
    if (currentIndex() >= 0 && isTabVisible(currentIndex()))
        order.append(currentIndex());
    for (const int i : order) {
        QStyleOptionTab option;
        initStyleOption(&option, i);
        option.rect = l.places[i];
        const QRect rowRect(0, option.rect.top(), width(), option.rect.height());
        const bool first = !l.places.isEmpty() && option.rect.left() == 0;
        bool last = true;
        for (int j = 0; j < l.places.size(); ++j)
            if (j != i && l.places[j].top() == option.rect.top() && l.places[j].left() > option.rect.left())
                last = false;
        option.position = first && last ? QStyleOptionTab::OnlyOneTab
                          : first       ? QStyleOptionTab::Beginning
                          : last        ? QStyleOptionTab::End
                                        : QStyleOptionTab::Middle;
        option.selectedPosition = QStyleOptionTab::NotAdjacent;
        if (currentIndex() >= 0 && rowRect.contains(l.places[currentIndex()].center())) {
            if (l.places[currentIndex()].right() + 1 == option.rect.left())
                option.selectedPosition = QStyleOptionTab::PreviousIsSelected;
            else if (option.rect.right() + 1 == l.places[currentIndex()].left())
                option.selectedPosition = QStyleOptionTab::NextIsSelected;
        }
        option.state.setFlag(QStyle::State_MouseOver, i == m_hovered);
        option.text = tabText(i);
        const int textWidth = style()->subElementRect(QStyle::SE_TabBarTabText, &option, this).width();
        option.text = fontMetrics().elidedText(option.text, Qt::ElideRight, textWidth, Qt::TextShowMnemonic);
        painter.drawControl(QStyle::CE_TabBarTab, option);
    }
}

void RowsTabBar::mousePressEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const int index = tabAtPoint(event->position().toPoint());
    if (index >= 0) {
        emit tabBarClicked(index);
        if (isTabEnabled(index))
            setCurrentIndex(index);
    }
    event->accept();
}

void RowsTabBar::mouseMoveEvent(QMouseEvent *event) {
    event->accept();
}

void RowsTabBar::mouseReleaseEvent(QMouseEvent *event) {
    event->accept();
}

void RowsTabBar::mouseDoubleClickEvent(QMouseEvent *event) {
    const int index = tabAtPoint(event->position().toPoint());
    if (index >= 0)
        emit tabBarDoubleClicked(index);
    event->accept();
}

} // namespace oxa
