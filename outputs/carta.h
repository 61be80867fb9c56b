// What the papers of this folder share: their fonts and colours, the header
// block at the top of the listing and the forecast sheet, the big bold lines
// and the head number's disc.
#pragma once

#include "app/corpo.h"

#include "printing/printerpage.h"

#include <QString>

namespace corpo {

// Colours as the printer page takes them (0x00BBGGRR).
constexpr int32_t Nero = 0;
constexpr int32_t Rosso = 0x0000FF;
constexpr int32_t Blu = 0xFF0000;

inline const QString CourierNew = QStringLiteral("Courier New");
inline const QString ComicSans = QStringLiteral("Comic Sans MS");

// The three header lines from (x, y) in Courier New of `size`: the program
// and the print heading in bold, a rule of `trattini` dashes between two
// "x", the system's name with the maker's address (when the build names
// one) in bold at 7/5 of the size. Leaves the font at `size`, not bold, the position under the
// block.
void StampaIntestazione(PrinterPage& page, const DatiCarta& carta, double x, double y, double size,
                        int trattini);

// Sets bold Comic Sans MS of `size` in `colore` at (x, y), for a big line.
void ScrittaGrande(PrinterPage& page, double size, double x, double y, int32_t colore);

// The head number, two digits of bold Courier New of `size` at (x, y), in
// the colour that reads on its disc of `raggio` centred at (cx, cy).
void StampaCapogioco(PrinterPage& page, const DatiCarta& carta, double cx, double cy, double raggio,
                     double x, double y, double size);

} // namespace corpo
