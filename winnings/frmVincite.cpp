#include "winnings/frmVincite.h"
namespace corpo {
void MostraVincite(QWidget*) {}
}
