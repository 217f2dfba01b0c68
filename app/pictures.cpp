#include "pictures.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace oxa {

QString pictureResource(const QString &name) { return QStringLiteral(":/img/%1.svg").arg(name); }

QIcon svgIcon(const QString &name, QSize size) {
    QSvgRenderer renderer(pictureResource(name));
    QIcon icon;
    // Draw at two scales so high-density screens stay crisp.
    for (const int scale : {1, 2}) {
        QPixmap pixmap(size * scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        pixmap.setDevicePixelRatio(scale);
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace oxa
