#include "app/art.h"

#include <QLabel>
#include <QPainter>
#include <QSvgRenderer>

namespace corpo {
QPixmap RenderArt(const QString& resource, const QSize& size, qreal ratio) {
    QPixmap pm(size * ratio);
    pm.setDevicePixelRatio(ratio);
    pm.fill(Qt::transparent);
    QSvgRenderer svg(resource);
    if (!svg.isValid())
        return pm;
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    svg.render(&p, QRectF(QPointF(0, 0), size));
    return pm;
}

void ShowArt(QLabel* label, const QString& resource, qreal scale) {
    label->setPixmap(
        RenderArt(resource, (QSizeF(label->size()) * scale).toSize(), label->devicePixelRatioF()));
}
} // namespace corpo
