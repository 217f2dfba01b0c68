#pragma once

#include <QTabBar>

namespace oxa {

// Tabs that show their icon above the caption, so that five tabs with 40 x 40 icons fit the window.
class IconTabBar : public QTabBar {
    Q_OBJECT
public:
    using QTabBar::QTabBar;

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }
    void paintEvent(QPaintEvent *event) override;
};

} // namespace oxa
