#include "winnings/acino.h"

#include <QPainter>
#include <QRadialGradient>
#include <algorithm>

namespace corpo {

Acino::Acino(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void Acino::impostaColore(const QColor& colour) {
    if (colour_ == colour)
        return;
    colour_ = colour;
    update();
}

void Acino::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(1, 1, -1, -1);
    // A light spot up and left makes the flat colour read as a round grape.
    QRadialGradient shade(box.left() + box.width() * 0.35, box.top() + box.height() * 0.3,
                          std::max(box.width(), box.height()) * 0.75);
    shade.setColorAt(0.0, colour_.lighter(135));
    shade.setColorAt(0.55, colour_);
    shade.setColorAt(1.0, colour_.darker(125));
    p.setBrush(shade);
    p.setPen(QPen(colour_.darker(170), 1.0));
    p.drawEllipse(box);
}

} // namespace corpo
