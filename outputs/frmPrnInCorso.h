// The small window shown while the slips print, with the button that asks
// the run to stop before its next slip.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class frmPrnInCorso;
}

namespace corpo {

class frmPrnInCorso : public QDialog {
    Q_OBJECT
    std::unique_ptr<Ui::frmPrnInCorso> ui;
    bool interrotto_ = false;

public:
    explicit frmPrnInCorso(QWidget* parent = nullptr);
    ~frmPrnInCorso() override;

    // The slip being printed: "Scheda n. 0003".
    void MostraScheda(int numero);
    // Whether the player asked the run to stop.
    bool Interrotto() const { return interrotto_; }

private Q_SLOTS:
    void cmdInterrompi_Click();
};

// Loads the window, which shows it without blocking; the caller closes and
// deletes it when the run ends.
frmPrnInCorso* CaricaPrnInCorso(QWidget* parent);

} // namespace corpo
