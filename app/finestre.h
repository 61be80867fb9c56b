// Windows kept on the screen: whatever the screen's size and the scale factor,
// every window opens with its frame and its buttons within the screen's free
// area.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>

class QWidget;

namespace corpo {

// Scales every control of a window in proportion to the window's size:
// geometry and font size are taken from the design and multiplied by the
// ratio of the current size to the design size, larger or smaller.
class Ridimensionatore : public QObject {
    Q_OBJECT
public:
    // Remembers the window's current size and every descendant's geometry and
    // font as the design; call it once the window is laid out.
    explicit Ridimensionatore(QWidget* window);
    QSize dimensioneProgetto() const { return design_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Originale {
        QPointer<QWidget> widget;
        QRect geometry;
        qreal pointSize;
    };
    void applica(const QSize& size);
    QWidget* window_;
    QSize design_;
    QList<Originale> children_;
    qreal windowPointSize_;
};

// Fits a window into its screen's free area, with room for the frame the
// window manager draws around it. A window arranged by a layout is made
// smaller, down to what its layout needs; one whose controls stand at fixed
// places is scaled whole, controls and fonts (through its Ridimensionatore, made
// here when it has none). A window of fixed size keeps a fixed size. Then the
// window is moved, where needed, so that its frame lies on the screen.
void AdattaAlloSchermo(QWidget* window);

// From now on every window and dialog of the program is fitted by
// AdattaAlloSchermo each time it is shown.
void AdattaFinestreAlloSchermo();

// Held while a dialog runs: the control that opened it gets the focus back,
// its window active again, once the dialog has closed.
class RitornoFocus {
public:
    RitornoFocus();
    ~RitornoFocus();
    RitornoFocus(const RitornoFocus&) = delete;
    RitornoFocus& operator=(const RitornoFocus&) = delete;

private:
    QPointer<QWidget> caller_;
};

} // namespace corpo
