#pragma once

#include <QTabBar>

namespace oxa {

// Tabs that wrap onto several rows when their captions do not fit in one, instead of being cut off.
// As with rows of tabs elsewhere, the row holding the current tab is the one next to the page.
class RowsTabBar : public QTabBar {
    Q_OBJECT
public:
    explicit RowsTabBar(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // Where a tab is drawn; empty for a hidden tab.
    QRect tabPlace(int index) const;
    int tabRows() const;

protected:
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    struct Layout {
        QList<QRect> places; // by tab index
        int rows = 0;
    };
    Layout layout() const;
    int rowWidth() const;
    int tabAtPoint(const QPoint &point) const;
    void setHovered(int index);

    int m_hovered = -1;
};

} // namespace oxa
