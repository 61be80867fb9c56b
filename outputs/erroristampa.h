// How the papers report a failure of the printer page.
#pragma once

#include "app/runerror.h"

#include <QString>

namespace corpo {

class PrinterPage;

// Drops the unfinished job, so nothing of it reaches the printer, and tells
// the user: error 482 is "Stampante non installata" (title "!!! E R R O R E !!!");
// any other gets the standard report of procedure in owner or, where there is
// none (the slip run, the calibration prints), "Errore Stampante non previsto".
void SegnalaErroreStampa(PrinterPage& page, const RunError& e, const QString& procedure = {},
                         const QString& owner = {});

} // namespace corpo
