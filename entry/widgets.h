// Small widgets of the main window: the button whose caption wraps.
#pragma once

#include <QPushButton>
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

} // namespace corpo
