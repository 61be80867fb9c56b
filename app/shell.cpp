#include "app/shell.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFont>
#include <QThread>
#include <QTime>
#include <QWidget>

namespace corpo {

QString AppFolderOf(const QString& folder) {
    QString f = folder.trimmed();
    if (!f.endsWith(QLatin1Char('/')))
        f += QLatin1Char('/');
    return f;
}

QString AppFolder() { return AppFolderOf(QCoreApplication::applicationDirPath()); }

float Timer() {
    const QTime now = QTime::currentTime();
    return float(now.msecsSinceStartOfDay()) / 1000.0f;
}

void Pause(float milliseconds, const std::function<float()>& timer,
           const std::function<void(int)>& sleepMs) {
    const float start = timer();
    float end = start + milliseconds / 1000.0f;
    if (timer() >= end)
        return;
    bool wrapped = false;
    for (;;) {
        sleepMs(4);
        QCoreApplication::processEvents();
        const float now = timer();
        if (!wrapped && now < start) {
            // Midnight passed since the wait began.
            end -= 86400.0f;
            wrapped = true;
        }
        if (now >= end)
            return;
    }
}

void Pause(float milliseconds) {
    Pause(milliseconds, &Timer, [](int ms) { QThread::msleep(ms); });
}

void UnloadAllForms(const QString& keep) {
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        if (w->objectName() == keep || !w->isWindow())
            continue;
        if (w->isVisible() || w->testAttribute(Qt::WA_WState_Created))
            w->close();
    }
}

void InstallFontSubstitutions() {
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
    QFont::insertSubstitution(QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"));
    QFont::insertSubstitution(QStringLiteral("Calibri"), QStringLiteral("Carlito"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"),
                              QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
}

} // namespace corpo
