#include "winnings/stampaprospetto.h"

#include "app/corpo.h"
#include "printing/printerpage.h"
#include "winnings/prospetto.h"

#include <QStringList>

namespace corpo {

namespace {
// Every bet's columns stand at the same offsets from the block's left edge.
constexpr float ColumnOffset[4] = {0, 18, 40, 65};
} // namespace

void StampaProspetto(const float& x, const float& y) {
    RunError error;
    if (!CalcolaProspetto(&error))
        throw error;

    PrinterPage& page = Printer();
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

    const QString ambo = QStringLiteral("Ambo"), terno = QStringLiteral("Terno"),
                  quaterna = QStringLiteral("Quaterna"), cinquina = QStringLiteral("Cinquina");
    const QStringList cinq{ambo, terno, quaterna, cinquina};
    const QStringList quad{ambo, terno, quaterna};
    const QStringList terz{ambo, terno};
    const QStringList amb{ambo};
    const QStringList estr{QStringLiteral("Estratto")};

    const SystemRecord& s = Sistema;
    struct Block {
        const QStringList* headings;
        const float* amounts;
    };
    const Block blocks[9] = {{&cinq, s.VinCinq1.data()}, {&cinq, s.VinCinq2.data()},
                             {&quad, s.VinQuat1.data()}, {&quad, s.VinQuat2.data()},
                             {&terz, s.VinTerz1.data()}, {&terz, s.VinTerz2.data()},
                             {&amb, &s.VinAmbo1},        {&amb, &s.VinAmbo2},
                             {&estr, &s.VinEstratto}};

    bool first = true;
    for (const Block& b : blocks) {
        page.FontSize = 6.5f;
        // The amounts row above was not ended: step down from its top.
        if (!first)
            page.CurrentY = page.CurrentY + 4;
        first = false;
        const int columns = int(b.headings->size());
        for (int c = 0; c < columns; ++c) {
            page.CurrentX = x + ColumnOffset[c];
            page.Print(b.headings->at(c), c == columns - 1);
        }
        page.CurrentX = x;
        page.FontSize = 8;
        for (int c = 0; c < columns; ++c) {
            page.CurrentX = x + ColumnOffset[c];
            page.Print(FormatoVincita(b.amounts[c]), false);
        }
    }
    page.FillStyle = savedFill;
}

} // namespace corpo
