#include "app/finestre.h"

#include <QApplication>
#include <QEvent>
#include <QLayout>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cmath>

namespace corpo {

namespace {

// The frame around a window: its own once the window system has told it, else
// that of another window already on the screen, else a usual title bar and border.
QMargins Cornice(const QWidget* window) {
    QList<const QWidget*> known{window};
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (w != window && w->isVisible())
            known << w;
    for (const QWidget* w : known)
        if (const QWindow* handle = w->windowHandle(); handle && !handle->frameMargins().isNull())
            return handle->frameMargins();
    return {8, 40, 8, 8};
}

class Adattatore : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            const Qt::WindowType type = w->windowType();
            if (w->isWindow() && (type == Qt::Window || type == Qt::Dialog))
                AdattaAlloSchermo(w);
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

Ridimensionatore::Ridimensionatore(QWidget* window)
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

bool Ridimensionatore::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::Resize)
        applica(window_->size());
    return QObject::eventFilter(watched, event);
}

void Ridimensionatore::applica(const QSize& size) {
    if (design_.isEmpty())
        return;
    const qreal sx = qreal(size.width()) / design_.width();
    const qreal sy = qreal(size.height()) / design_.height();
    const qreal sf = std::min(sx, sy);
    for (const Originale& o : std::as_const(children_)) {
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

void AdattaAlloSchermo(QWidget* window) {
    const QScreen* screen = window->screen();
    if (!screen || window->isMaximized() || window->isFullScreen())
        return; // the window system sizes those itself
    const QMargins frame = Cornice(window);
    const QRect free = screen->availableGeometry();
    const QRect room = free.marginsRemoved(frame);
    QSize size = window->size();
    const bool large = size.width() > room.width() || size.height() > room.height();
    if (large) {
        if (window->layout()) {
            size = size.boundedTo(room.size()).expandedTo(window->minimumSizeHint());
        } else {
            auto* resizer =
                window->findChild<Ridimensionatore*>(QString(), Qt::FindDirectChildrenOnly);
            if (!resizer)
                resizer = new Ridimensionatore(window);
            const QSizeF design = resizer->dimensioneProgetto();
            const qreal scale =
                std::min(room.width() / design.width(), room.height() / design.height());
            size = (design * std::min(scale, 1.0)).toSize().boundedTo(room.size());
        }
        if (window->minimumSize() == window->maximumSize())
            window->setFixedSize(size);
        else
            window->resize(size.expandedTo(window->minimumSize()));
    }
    // A window made smaller is centred again on its parent, or on the screen;
    // then its frame is moved as little as keeps it inside.
    const QSize outer = window->size().grownBy(frame);
    QPoint corner = window->pos();
    if (large) {
        const QWidget* parent = window->parentWidget();
        const QRect around = parent ? parent->window()->frameGeometry() : free;
        corner = around.center() - QPoint(outer.width() / 2, outer.height() / 2);
    }
    corner.setX(std::clamp(corner.x(), free.left(),
                           std::max(free.left(), free.right() + 1 - outer.width())));
    corner.setY(std::clamp(corner.y(), free.top(),
                           std::max(free.top(), free.bottom() + 1 - outer.height())));
    if (corner != window->pos())
        window->move(corner);
}

void AdattaFinestreAlloSchermo() {
    const QString name = QStringLiteral("AdattaAlloSchermo");
    if (qApp->findChild<QObject*>(name, Qt::FindDirectChildrenOnly))
        return; // already watching
    auto* filter = new Adattatore(qApp);
    filter->setObjectName(name);
    qApp->installEventFilter(filter);
}

RitornoFocus::RitornoFocus() : caller_(QApplication::focusWidget()) {}

RitornoFocus::~RitornoFocus() {
    if (caller_) {
        caller_->activateWindow();
        caller_->setFocus(Qt::OtherFocusReason);
    }
}

} // namespace corpo
