// The window shown while the program starts.
#pragma once

#include <QWidget>

namespace Ui {
class frmSplash;
}

namespace corpo {

class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);
    ~frmSplash() override;
    Ui::frmSplash* ui;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace corpo
