#include "entry/widgets.h"

#include <QEvent>
#include <QPainter>
#include <QScreen>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>
#include <cmath>

namespace corpo {

WrapButton::WrapButton(QWidget* parent) : QPushButton(parent) {}

void WrapButton::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    p.drawControl(QStyle::CE_PushButton, option);
    const QRect area = style()
                           ->subElementRect(QStyle::SE_PushButtonContents, &option, this)
                           .adjusted(2, 2, -2, -2);
    p.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    p.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, caption);
}

AutoResizer::AutoResizer(QWidget* window)
    : QObject(window), window_(window), design_(window->size()),
      windowPointSize_(window->font().pointSizeF()) {
    const QList<QWidget*> all = window->findChildren<QWidget*>();
    for (QWidget* w : all) {
        // Pieces of composite widgets (a combo box's list, a spin box's
        // editor) follow their owner by themselves.
        if (w->isWindow() || !w->parentWidget())
            continue;
        if (w->parentWidget() != window && !w->parentWidget()->inherits("QGroupBox"))
            continue;
        children_.append({w, w->geometry(), w->font().pointSizeF()});
    }
    window->installEventFilter(this);
}

void AutoResizer::fitToScreen() {
    const QScreen* screen = window_->screen();
    if (!screen || design_.isEmpty())
        return;
    // Leave room for the title bar and the window's border.
    const QSize room = screen->availableGeometry().size() - QSize(16, 48);
    const qreal scale = std::min(
        {1.0, qreal(room.width()) / design_.width(), qreal(room.height()) / design_.height()});
    if (scale < 1.0)
        window_->resize((QSizeF(design_) * scale).toSize());
}

bool AutoResizer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::Resize)
        apply(window_->size());
    return QObject::eventFilter(watched, event);
}

void AutoResizer::apply(const QSize& size) {
    if (design_.isEmpty())
        return;
    const qreal sx = qreal(size.width()) / design_.width();
    const qreal sy = qreal(size.height()) / design_.height();
    const qreal sf = std::min(sx, sy);
    for (const Original& o : std::as_const(children_)) {
        if (!o.widget)
            continue;
        const QRect g = o.geometry;
        const int left = int(std::lround(g.x() * sx));
        const int top = int(std::lround(g.y() * sy));
        const int right = int(std::lround((g.x() + g.width()) * sx));
        const int bottom = int(std::lround((g.y() + g.height()) * sy));
        o.widget->setGeometry(left, top, right - left, bottom - top);
        if (o.pointSize > 0) {
            QFont f = o.widget->font();
            f.setPointSizeF(o.pointSize * sf);
            o.widget->setFont(f);
        }
    }
}

} // namespace corpo
