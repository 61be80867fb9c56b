#include "outputs/frmStampaSchedine.h"
#include "outputs/frmTabulato.h"
namespace corpo {
void MostraTabulato(QWidget*) {}
void MostraStampaSchedine(QWidget*) {}
}
