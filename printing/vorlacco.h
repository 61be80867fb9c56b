// The cluster figure: the system drawn on the printer page as a bunch of
// grapes, a stalk picture above 29 numbered circles in nine rows.
#pragma once

#include "app/corpo.h"
#include "printing/page.h"

#include <QString>
#include <cstdint>

namespace corpo {

// Draws the figure with the stalk's top edge at y, its left reference at x
// (the stalk starts one radius to its left) and grape radius Raggio (mm).
// Colour off: every circle white with a black outline. Leaves CurrentX,
// CurrentY and FillStyle as it found them. Reports its own failures (a
// missing stalk picture, a printer error) and then stops drawing.
void stampaVorlacco(PrinterPage& page, const DatiCarta& carta, float X, float Y, int32_t Raggio,
                    bool Colore);

// "images/raspoprn.wmf" in the application folder.
QString PercorsoFiguraVorlacco();

} // namespace corpo
