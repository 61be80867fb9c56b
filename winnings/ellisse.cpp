#include "winnings/ellisse.h"

#include <QPainter>
#include <QRadialGradient>

namespace corpo {

Ellisse::Ellisse(QWidget* parent) : QWidget(parent) {
    // Neighbouring grapes overlap: clicks go to whatever lies beneath.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Ellisse::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.75, 0.75, -0.75, -0.75);
    // The middle has the number box's own colour, so the box melts into the
    // grape; the rim darkens and a light spot up left gives it roundness.
    QRadialGradient g(r.center(), r.width() / 2, r.topLeft() + QPointF(r.width() * 0.22, r.height() * 0.2));
    g.setColorAt(0.0, QColor(0xFF, 0xFF, 0xF0));
    g.setColorAt(0.16, QColor(0xFF, 0xFF, 0x80));
    g.setColorAt(0.62, QColor(0xFF, 0xFF, 0x80));
    g.setColorAt(1.0, QColor(0xD8, 0xC8, 0x40));
    p.setBrush(g);
    p.setPen(QPen(QColor(0x6B, 0x5A, 0x10), 1.5));
    p.drawEllipse(r);
}

} // namespace corpo
