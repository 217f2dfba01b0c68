#include "backdroppatch.h"

#include <QEvent>
#include <QPainter>

namespace oxa {

BackdropPatch::BackdropPatch(QWidget *parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BackdropPatch::paintEvent(QPaintEvent *) {
    const qreal scale = devicePixelRatioF();
    if (m_behind.isNull() || m_behind.size() != size() * scale) {
        m_behind = QPixmap(size() * scale);
        m_behind.setDevicePixelRatio(scale);
        parentWidget()->render(&m_behind, QPoint(), QRegion(geometry()), QWidget::DrawWindowBackground);
    }
    QPainter(this).drawPixmap(0, 0, m_behind);
}

void BackdropPatch::changeEvent(QEvent *event) {
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        m_behind = QPixmap();
    QWidget::changeEvent(event);
}

} // namespace oxa
