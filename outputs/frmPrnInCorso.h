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

public:
    explicit frmPrnInCorso(QWidget* parent = nullptr);
    ~frmPrnInCorso() override;

    // The slip being printed: "Scheda n. 0003".
    void MostraScheda(int numero);

private Q_SLOTS:
    void cmdInterrompi_Click();
};

// Loads the window, which shows it without blocking; the caller closes and
// deletes it when the run ends.
frmPrnInCorso* CaricaPrnInCorso(QWidget* parent);

} // namespace corpo
