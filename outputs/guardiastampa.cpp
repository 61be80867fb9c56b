#include "outputs/guardiastampa.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace corpo {

GuardiaStampa::GuardiaStampa(QWidget* window) : QObject(window), window_(window) {}

void GuardiaStampa::proteggi(QAbstractButton* button) { button->installEventFilter(this); }

bool GuardiaStampa::eventFilter(QObject* watched, QEvent* event) {
    // The second press of a double click comes as a double-click event: it
    // would press the button again once the first run is over.
    if (event->type() == QEvent::MouseButtonDblClick)
        return true;
    return QObject::eventFilter(watched, event);
}

bool GuardiaStampa::esegui(const std::function<void()>& run) {
    if (inCorso_)
        return false;
    inCorso_ = true;
    window_->setEnabled(false);
    struct Fine {
        GuardiaStampa* g;
        ~Fine() {
            // Clicks and keys that reached the queue during the run are
            // delivered now, to a window still disabled, which drops them.
            QCoreApplication::processEvents();
            if (g->window_)
                g->window_->setEnabled(true);
            g->inCorso_ = false;
        }
    } fine{this};
    run();
    return true;
}

} // namespace corpo
