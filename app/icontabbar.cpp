#include "icontabbar.h"

#include "tablayout.h"

#include <QStyleOptionTab>
#include <QStylePainter>

namespace oxa {

namespace {

// Room around the icon and caption, and between them: small, so that five captions of a translation
// still find room beside their icons.
constexpr int SideMargin = 3;
constexpr int TopMargin = 4;
constexpr int Gap = 3;
// The tab bar starts a little in from the page control's edge.
constexpr int BarInset = 2;

// The caption broken at the blank that leaves the shorter longest line; the whole caption when it
// has no blank.
QStringList brokenCaption(const QString &text, const QFontMetrics &metrics) {
    QStringList best{text};
    int bestWidth = metrics.horizontalAdvance(text);
    for (qsizetype blank = text.indexOf(QLatin1Char(' ')); blank >= 0;
         blank = text.indexOf(QLatin1Char(' '), blank + 1)) {
        const QString first = text.left(blank);
        const QString second = text.mid(blank + 1);
        const int width = std::max(metrics.horizontalAdvance(first), metrics.horizontalAdvance(second));
        if (width < bestWidth) {
            best = {first, second};
            bestWidth = width;
        }
    }
    return best;
}

int widestLine(const QStringList &lines, const QFontMetrics &metrics) {
    int widest = 0;
    for (const QString &line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

} // namespace

int IconTabBar::rowWidth() const {
    return parentWidget() ? parentWidget()->width() - 2 * BarInset : width();
}

QList<IconTabBar::Caption> IconTabBar::captions() const {
    const QFontMetrics metrics(font());
    QList<int> oneLine;
    QList<int> twoLines;
    QList<QStringList> broken;
    int room = rowWidth();
    for (int i = 0; i < count(); ++i) {
        const bool shown = isTabVisible(i);
        const QString text = tabText(i);
        broken.append(brokenCaption(text, metrics));
        oneLine.append(shown ? metrics.horizontalAdvance(text) : 0);
        twoLines.append(shown ? widestLine(broken.last(), metrics) : 0);
        if (shown)
            room -= 2 * SideMargin + iconSize().width() + Gap;
    }
    const QList<CaptionFit> fits = fitCaptions(oneLine, twoLines, room);
    QList<Caption> result;
    for (int i = 0; i < count(); ++i) {
        QStringList lines = fits[i].lines == 2 ? broken[i] : QStringList{tabText(i)};
        // Only a line wider than its room is shortened (elidedText would also cut one that fits exactly).
        for (QString &line : lines)
            if (metrics.horizontalAdvance(line) > fits[i].width)
                line = metrics.elidedText(line, Qt::ElideRight, fits[i].width);
        result.append({lines, fits[i].width});
    }
    return result;
}

QStringList IconTabBar::captionLines(int index) const {
    return captions().value(index).lines;
}

QSize IconTabBar::tabSizeHint(int index) const {
    const QList<Caption> all = captions();
    qsizetype lines = 1;
    for (const Caption &caption : all)
        lines = std::max(lines, caption.lines.size());
    const int textHeight = int(lines) * QFontMetrics(font()).height();
    const int width = 2 * SideMargin + iconSize().width() + Gap + all.value(index).width;
    return {width, 2 * TopMargin + std::max(iconSize().height(), textHeight)};
}

void IconTabBar::paintEvent(QPaintEvent *) {
    QStylePainter painter(this);
    const QList<Caption> all = captions();
    const int lineHeight = QFontMetrics(font()).height();
    for (int i = 0; i < count(); ++i) {
        if (!isTabVisible(i))
            continue;
        QStyleOptionTab option;
        initStyleOption(&option, i);
        const QIcon icon = option.icon;
        option.text.clear();
        option.icon = QIcon();
        painter.drawControl(QStyle::CE_TabBarTabShape, option);

        const QRect box = option.rect.adjusted(SideMargin, TopMargin, -SideMargin, -TopMargin);
        const QSize size = iconSize();
        const QRect iconRect(box.left(), box.top() + (box.height() - size.height()) / 2, size.width(),
                             size.height());
        icon.paint(&painter, iconRect, Qt::AlignCenter, isTabEnabled(i) ? QIcon::Normal : QIcon::Disabled);
        const QStringList &lines = all[i].lines;
        const int textHeight = int(lines.size()) * lineHeight;
        int y = box.top() + (box.height() - textHeight) / 2;
        for (const QString &line : lines) {
            const QRect lineRect(iconRect.right() + 1 + Gap, y, box.right() - iconRect.right() - Gap,
                                 lineHeight);
            painter.drawItemText(lineRect, Qt::AlignLeft | Qt::AlignVCenter, palette(), isTabEnabled(i), line,
                                 QPalette::WindowText);
            y += lineHeight;
        }
    }
}

} // namespace oxa
