// Drawing the slips, the calibration test page and the ruler sheet on the
// printer page. These routines throw the printer page's RunError; the windows
// trap it and tell the user.
#pragma once

#include "app/corpo.h"
#include "outputs/schedine.h"
#include "outputs/taratura.h"

#include <functional>

namespace corpo {

class PrinterPage;

// Solid-fill slips or outlined test cells, millimetres, black solid lines of
// one pixel.
void ImpostaPaginaSchedina(PrinterPage& page, int fillStyle);

// One 2 mm mark with its top-left corner at p.
void DisegnaCasella(PrinterPage& page, const Punto& p);

// Product line, amount, slip number and name, and the print header.
void StampaBloccoTesto(PrinterPage& page, const DatiCarta& carta, const TaraturaAmbetto& t,
                       float totale, int slip);

// What the slip run asks of the window around it.
struct AvanzamentoSchedine {
    // Before each slip: lets the window process events; true to stop.
    std::function<bool()> fermare;
    // After each slip has been drawn.
    std::function<void(int slip)> schedaStampata;
};

// Slips da..a of the current system, one page each, one job. t receives the
// derived layout. A wheel not in the list marks no wheel cell; a stop ends the
// job with the slips drawn so far.
void StampaSchedineSullaPagina(PrinterPage& page, const DatiCarta& carta, TaraturaAmbetto& t,
                               int da, int a, const AvanzamentoSchedine& avanzamento);

// Every cell outlined and an empty text block, one page, one job. t receives
// the derived layout.
void StampaProvaSullaPagina(PrinterPage& page, const DatiCarta& carta, TaraturaAmbetto& t);

// A plain sheet with millimetre rulers along the top and left edges and
// cross-hairs on the corner cells of each grid, to lay over a slip.
void StampaRighelloSullaPagina(PrinterPage& page, const TaraturaAmbetto& t);

// The cells the ruler sheet marks with cross-hairs: centres and names.
struct Mirino {
    QString nome;
    float x = 0;
    float y = 0;
};
QList<Mirino> MiriniRighello(const TaraturaAmbetto& t);

} // namespace corpo
