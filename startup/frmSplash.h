// The window shown while the program starts.
#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class frmSplash;
}

namespace corpo {

class frmSplash : public QWidget {
    Q_OBJECT
    std::unique_ptr<Ui::frmSplash> ui;

public:
    explicit frmSplash(QWidget* parent = nullptr);
    ~frmSplash() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace corpo
