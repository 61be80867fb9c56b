#include "update/forms.h"

#include <QApplication>
#include <QDesktopServices>
#include <QScreen>
#include <QUrl>
#include <QWidget>
#include <cmath>

namespace corpo {

namespace {

// Half of an integer, a .5 going to the even neighbour.
int HalfToEven(int value) { return int(std::nearbyint(double(value) / 2.0)); }

} // namespace

QPoint CenterPosition(const QRect& screen, const QSize& frame) {
    return {screen.x() + HalfToEven(screen.width() - frame.width()),
            screen.y() + HalfToEven(screen.height() - frame.height())};
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
