#pragma once

#include <QDialog>
#include <memory>

class QWidget;

namespace Ui {
class frmVincite;
}

namespace corpo {

// Opens the winnings prospect, modal over parent, for the record's current stakes.
void MostraVincite(QWidget* parent);

// The prospect window: the bunch as last stored in the record and, beside each
// bet, what it collects for each kind of hit. It only shows; it is built anew
// and recomputed at every opening.
class frmVincite : public QDialog {
    Q_OBJECT
public:
    explicit frmVincite(QWidget* parent = nullptr);
    ~frmVincite() override;

    // Fills the numbers, recomputes the winnings and shows the amounts. When
    // an amount overflows, reports it and returns false: the window must not open.
    bool Form_Load();

private:
    std::unique_ptr<Ui::frmVincite> ui;
};

} // namespace corpo
