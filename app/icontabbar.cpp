#include "icontabbar.h"

#include <QStyleOptionTab>
#include <QStylePainter>

namespace oxa {

namespace {
constexpr int Margin = 6;
constexpr int Gap = 2;
} // namespace

QSize IconTabBar::tabSizeHint(int index) const {
    const QFontMetrics metrics(font());
    const int textWidth = metrics.horizontalAdvance(tabText(index));
    const int width = std::max(iconSize().width(), textWidth) + 2 * Margin + 4;
    const int height = iconSize().height() + Gap + metrics.height() + 2 * Margin;
    return {width, height};
}

void IconTabBar::paintEvent(QPaintEvent *) {
    QStylePainter painter(this);
    for (int i = 0; i < count(); ++i) {
        if (!isTabVisible(i))
            continue;
        QStyleOptionTab option;
        initStyleOption(&option, i);
        const QString text = option.text;
        const QIcon icon = option.icon;
        option.text.clear();
        option.icon = QIcon();
        painter.drawControl(QStyle::CE_TabBarTabShape, option);

        const QRect box = option.rect.adjusted(Margin, Margin, -Margin, -Margin);
        const QSize size = iconSize();
        const QRect iconRect(box.left() + (box.width() - size.width()) / 2, box.top(), size.width(),
                             size.height());
        icon.paint(&painter, iconRect, Qt::AlignCenter, isTabEnabled(i) ? QIcon::Normal : QIcon::Disabled);
        const QRect textRect(box.left(), iconRect.bottom() + Gap, box.width(), box.bottom() - iconRect.bottom());
        painter.drawItemText(textRect, Qt::AlignHCenter | Qt::AlignTop, palette(), isTabEnabled(i), text,
                             QPalette::WindowText);
    }
}

} // namespace oxa
