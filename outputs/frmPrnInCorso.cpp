#include "outputs/frmPrnInCorso.h"

#include "app/corpo.h"
#include "outputs/schedine.h"
#include "ui_frmPrnInCorso.h"

namespace corpo {

frmPrnInCorso::frmPrnInCorso(QWidget* parent) : QDialog(parent), ui(new Ui::frmPrnInCorso) {
    ui->setupUi(this);
    connect(ui->cmdInterrompi, &QPushButton::clicked, this, &frmPrnInCorso::cmdInterrompi_Click);
}

frmPrnInCorso::~frmPrnInCorso() = default;

void frmPrnInCorso::MostraScheda(int numero) { ui->Label1->setText(EtichettaProgresso(numero)); }

void frmPrnInCorso::cmdInterrompi_Click() { interrotto_ = true; }

frmPrnInCorso* CaricaPrnInCorso(QWidget* parent) {
    auto* w = new frmPrnInCorso(parent);
    w->setModal(false);
    w->show();
    return w;
}

} // namespace corpo
