#pragma once

#include "gioco/sistema.h"

#include <QDialog>
#include <memory>

class QWidget;

namespace Ui {
class frmVincite;
}

namespace corpo {

// Opens the winnings prospect, modal over parent, for the system's stakes;
// the winnings it works out are kept in the system.
void MostraVincite(QWidget* parent, SystemRecord& sistema);

// The prospect window: the bunch as last stored in the record and, beside each
// bet, what it collects for each kind of hit. It only shows; it is built anew
// and recomputed at every opening.
class frmVincite : public QDialog {
    Q_OBJECT
public:
    frmVincite(QWidget* parent, SystemRecord& sistema);
    ~frmVincite() override;

    // Fills the numbers, recomputes the winnings and shows the amounts. When
    // an amount overflows, reports it and returns false: the window must not open.
    bool Form_Load();

private:
    std::unique_ptr<Ui::frmVincite> ui;
    SystemRecord& sistema_;
};

} // namespace corpo
