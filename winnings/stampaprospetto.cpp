#include "winnings/stampaprospetto.h"

#include "app/corpo.h"
#include "gioco/prospetto.h"
#include "gioco/scommesse.h"
#include "printing/printerpage.h"

namespace corpo {

namespace {
// Every bet's columns stand at the same offsets from the block's left edge.
constexpr float ScartoColonna[4] = {0, 18, 40, 65};
} // namespace

void StampaProspetto(PrinterPage& page, const SystemRecord& sistema, float x, float y) {
    SystemRecord Sistema = sistema;
    if (!CalcolaProspetto(Sistema))
        throw MakeError(err::Overflow);

    page.ForeColor = 0;
    page.CurrentX = x;
    page.CurrentY = y;
    page.FontSize = 20;
    page.Print(QStringLiteral("Prospetto Vincite"), true);

    const int savedFill = page.FillStyle;
    page.FontName = QStringLiteral("Courier New");
    page.FillStyle = 1;
    page.FillColor = 0;
    page.FontBold = true;

    bool first = true;
    for (const Scommessa& bet : Scommesse) {
        page.FontSize = 6.5f;
        // The amounts row above was not ended: step down from its top.
        if (!first)
            page.CurrentY = page.CurrentY + 4;
        first = false;
        const int columns = bet.stakeCount;
        for (int c = 0; c < columns; ++c) {
            page.CurrentX = x + ScartoColonna[c];
            page.Print(bet.NomeTipo(c), c == columns - 1);
        }
        page.CurrentX = x;
        page.FontSize = 8;
        for (int c = 0; c < columns; ++c) {
            page.CurrentX = x + ScartoColonna[c];
            page.Print(FormatoVincita(bet.Vincite(Sistema)[size_t(c)]), false);
        }
    }
    page.FillStyle = savedFill;
}

} // namespace corpo
