// Small widgets of the main window: the button whose caption wraps, and the
// helper that scales a window's controls.
#pragma once

#include <QHash>
#include <QPointer>
#include <QPushButton>
#include <QRect>
#include <QSize>
#include <QWidget>

namespace corpo {

// A push button whose caption wraps over several lines to fit its width.
class WrapButton : public QPushButton {
    Q_OBJECT
public:
    explicit WrapButton(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// Scales every control of a window in proportion to the window's size:
// geometry and font size are taken from the design and multiplied by the
// ratio of the current size to the design size, never below 1.
class AutoResizer : public QObject {
    Q_OBJECT
public:
    // Remembers the window's current size and every descendant's geometry and
    // font as the design; call it once the window is laid out.
    explicit AutoResizer(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Original {
        QPointer<QWidget> widget;
        QRect geometry;
        qreal pointSize;
    };
    void apply(const QSize& size);
    QWidget* window_;
    QSize design_;
    QList<Original> children_;
    qreal windowPointSize_;
};

} // namespace corpo
