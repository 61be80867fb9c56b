// Watches for a window to show while the code under test waits in its own
// event loop, lets the test look at it, then closes it as the user would.
#pragma once

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace watch {

class WindowWatcher {
public:
    WindowWatcher(const QString& objectName, std::function<void(QWidget*)> onSeen)
        : name_(objectName), onSeen_(std::move(onSeen)) {
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { poll(); });
        timer_.start(10);
    }

    int seen() const { return seen_; }

private:
    void poll() {
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (QWidget* w : windows) {
            if (w->objectName() != name_ || !w->isVisible() || handled_.contains(w))
                continue;
            handled_.append(w);
            ++seen_;
            if (onSeen_)
                onSeen_(w);
            if (w->isVisible())
                w->close();
        }
    }

    QString name_;
    std::function<void(QWidget*)> onSeen_;
    QTimer timer_;
    QList<QPointer<QWidget>> handled_;
    int seen_ = 0;
};

} // namespace watch
