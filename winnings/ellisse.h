// One grape of the bunch: an ellipse that fills its rectangle, drawn under
// the number box that sits in its middle.
#pragma once

#include <QWidget>

namespace corpo {

class Ellisse : public QWidget {
    Q_OBJECT
public:
    explicit Ellisse(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace corpo
