#include "update/forms.h"

#include "app/convert.h"

#include <QApplication>
#include <QDesktopServices>
#include <QScreen>
#include <QUrl>
#include <QWidget>
#include <cmath>

namespace corpo {

QPoint CenterPosition(const QRect& screen, const QSize& frame) {
    return {screen.x() + ArrotondaPari((screen.width() - frame.width()) / 2.0),
            screen.y() + ArrotondaPari((screen.height() - frame.height()) / 2.0)};
}

void CenterForm(QWidget* form) {
    if (!form)
        return;
    QScreen* screen = nullptr;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        if (w != form && w->objectName() == QLatin1String("frmMain") && w->isVisible()) {
            screen = w->screen();
            break;
        }
    }
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    form->move(CenterPosition(screen->geometry(), form->frameGeometry().size()));
}

bool OpenURL(const QString& address) { return QDesktopServices::openUrl(QUrl(address)); }

} // namespace corpo
