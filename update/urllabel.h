// A label that reads like a web link and opens it: by a click, or from the
// keyboard once Tab has brought the focus to it (Enter, Return or Space).
#pragma once

#include <QLabel>

namespace corpo {

class UrlLabel : public QLabel {
    Q_OBJECT
public:
    explicit UrlLabel(QWidget* parent = nullptr);

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool pressed_ = false;
};

} // namespace corpo
