#include "outputs/frmStampaSchedine.h"
namespace corpo {
void MostraStampaSchedine(QWidget*) {}
}
