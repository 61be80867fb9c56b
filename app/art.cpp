#include "app/art.h"

#include <QLabel>
#include <QPainter>
#include <QSvgRenderer>

// Resources of a static library must be pulled in by hand.
static void initArt() { Q_INIT_RESOURCE(art); }

namespace corpo {
QPixmap RenderArt(const QString& resource, const QSize& size) {
    static const bool once = (initArt(), true);
    Q_UNUSED(once);
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QSvgRenderer svg(resource);
    if (!svg.isValid())
        return pm;
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    svg.render(&p);
    return pm;
}

void ShowArt(QLabel* label, const QString& resource, qreal scale) {
    const qreal ratio = label->devicePixelRatioF();
    QPixmap pm = RenderArt(resource, (QSizeF(label->size()) * scale * ratio).toSize());
    pm.setDevicePixelRatio(ratio);
    label->setPixmap(pm);
}
} // namespace corpo
