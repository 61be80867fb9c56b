#include "outputs/risorse.h"

#include <QtGlobal>

// Resources of a static library must be pulled in by hand, outside any namespace.
static void initSchedine() { Q_INIT_RESOURCE(schedine); }

namespace corpo {
void InizializzaRisorseSchedine() {
    static const bool once = (initSchedine(), true);
    Q_UNUSED(once);
}
} // namespace corpo
