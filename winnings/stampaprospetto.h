// The winnings prospect printed as a block of text on the listing's page.
#pragma once

#include "gioco/sistema.h"
#include "printing/page.h"

namespace corpo {

// Recomputes the winnings and prints the title "Prospetto Vincite" and, for
// each of the nine bets, a row of kind headings over the row of amounts, with
// the block's top-left corner at (x, y) millimetres. Leaves FillStyle as it
// found it; FontName "Courier New", FontSize 8 and bold stay set, the print
// position at the end of the Estratto amount. No trap of its own: failures
// are thrown (corpo::RunError) to the printing routine.
void StampaProspetto(PrinterPage& page, const SystemRecord& sistema, float x, float y);

} // namespace corpo
