// The grape of the bunch, shared by every window that draws it.
#pragma once

#include <QColor>
#include <QWidget>

namespace corpo {

// One grape of the bunch: an ellipse filling the widget, painted in its
// background colour. It never takes the mouse, so clicks reach what lies below.
class Acino : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor colore READ colore WRITE impostaColore)
public:
    explicit Acino(QWidget* parent = nullptr);
    void impostaColore(const QColor& colour);
    QColor colore() const { return colour_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour_{255, 255, 128};
};

} // namespace corpo
