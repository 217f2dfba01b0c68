#pragma once

#include <QTabWidget>

namespace oxa {

// The window's tabbed pages: one row of tabs, tabs that wrap onto several rows when their captions
// do not fit, or tabs with a 40 x 40 icon beside the caption. The tab captions come from the
// settings file, so they can be of any length.
class PageControl : public QTabWidget {
    Q_OBJECT
public:
    enum class Tabs { OneRow, Rows, Icons };
    PageControl(Tabs tabs, QWidget *parent);

    // No page chosen: the tabs stay, none of them is chosen and the page area is empty, until a page
    // is chosen by the user or the program.
    void clearCurrentPage();
    bool hasCurrentPage() const;

private:
    QWidget *m_noPage = nullptr; // an empty page behind a hidden tab while no page is chosen
};

} // namespace oxa
