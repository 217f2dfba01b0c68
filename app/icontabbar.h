#pragma once

#include <QTabBar>

namespace oxa {

// Tabs with their 40 x 40 icon beside the caption, so that the tabs take little height and the pages
// keep their room. When the captions are too wide for one row, the widest that has a blank breaks
// onto a second line beside the icon, and so on; only if even that does not fit are they shortened.
class IconTabBar : public QTabBar {
    Q_OBJECT
public:
    using QTabBar::QTabBar;

    // The caption of a tab as drawn, line by line.
    QStringList captionLines(int index) const;

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }
    void paintEvent(QPaintEvent *event) override;

private:
    struct Caption {
        QStringList lines;
        int width = 0;
    };
    QList<Caption> captions() const;
    int rowWidth() const;
};

} // namespace oxa
