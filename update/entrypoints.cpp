#include "update/frmAbout.h"
#include "update/versioncheck.h"
namespace corpo {
void MostraAbout(QWidget*) {}
void NewVersion() {}
}
