// The forecast sheet: the current system as a one-page card.
#pragma once

#include "app/corpo.h"
#include "outputs/taratura.h"

#include <QString>

namespace corpo {

class PagePicture;
class PrinterPage;

// Where the card's header block starts, from the calibration.
struct OriginePronostico {
    int x0 = 0;
    int y0 = 0;
    int passo = 0; // indent and extra line gap
};
OriginePronostico CalcolaOriginePronostico(const TaraturaAmbetto& t);

// Draws the card and ends its job; throws the printer page's RunError. The
// notice picture is left out when it is null.
void StampaPronosticoSullaPagina(PrinterPage& page, const DatiCarta& carta,
                                 const TaraturaAmbetto& t, const PagePicture& vietato);

// The window's routine: draws the card and reports any failure itself;
// false after a failure.
bool StampaSchedaPronostico(PrinterPage& page, const DatiCarta& carta, const TaraturaAmbetto& t,
                            const PagePicture& vietato);

} // namespace corpo
