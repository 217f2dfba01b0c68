#include "pagecontrol.h"

#include "icontabbar.h"
#include "rowstabbar.h"

namespace oxa {

PageControl::PageControl(Tabs tabs, QWidget *parent) : QTabWidget(parent) {
    if (tabs == Tabs::Icons) {
        setTabBar(new IconTabBar(this));
        setIconSize({40, 40});
    } else if (tabs == Tabs::Rows) {
        setTabBar(new RowsTabBar(this));
    }
    tabBar()->setUsesScrollButtons(false);
    // Choosing a page ends the state of none chosen.
    connect(this, &QTabWidget::currentChanged, this, [this] {
        if (!m_noPage || currentWidget() == m_noPage)
            return;
        removeTab(indexOf(m_noPage));
        m_noPage->deleteLater();
        m_noPage = nullptr;
    });
}

void PageControl::clearCurrentPage() {
    if (!m_noPage) {
        m_noPage = new QWidget(this);
        setTabVisible(addTab(m_noPage, QString()), false);
    }
    setCurrentWidget(m_noPage);
}

bool PageControl::hasCurrentPage() const {
    return currentWidget() && currentWidget() != m_noPage;
}

} // namespace oxa
