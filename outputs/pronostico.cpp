#include "outputs/pronostico.h"

#include "app/corpo.h"
#include "app/fileio.h"
#include "app/maker.h"
#include "app/messages.h"
#include "gioco/prospetto.h"
#include "outputs/carta.h"
#include "outputs/erroristampa.h"
#include "outputs/schedine.h"
#include "outputs/stampaschedine.h"
#include "printing/printerpage.h"
#include "printing/vorlacco.h"

namespace corpo {

OriginePronostico CalcolaOriginePronostico(const TaraturaAmbetto& t) {
    OriginePronostico o;
    o.x0 = ArrotondaPari(double(t.Left) - 5.0);
    o.y0 = ArrotondaPari(double(t.Intestazione));
    o.passo = ArrotondaPari(2.5);
    return o;
}

void StampaPronosticoSullaPagina(PrinterPage& page, const DatiCarta& carta,
                                 const TaraturaAmbetto& t, const PagePicture& vietato) {
    const OriginePronostico o = CalcolaOriginePronostico(t);
    const SystemRecord& Sistema = carta.sistema;

    page.DocName = TitoloLavoro(QStringLiteral("Pronostico"), Sistema);
    ImpostaPaginaSchedina(page, 0);
    StampaIntestazione(page, carta, o.x0 + o.passo, o.y0 + o.passo, 5, 90);
    page.FontSize = 5.5;
    page.CurrentX = o.x0 + o.passo;
    page.CurrentY = page.CurrentY + o.passo;
    page.Print(QStringLiteral("Ruota Sistema ") + Sistema.Ruota, true);

    // Title.
    ScrittaGrande(page, 24, o.x0 + 27, o.y0 + 13, Nero);
    page.Print(TitoloProgramma, false);
    page.FontBold = false;

    // The bunch reports its own failures and the card goes on without it.
    stampaVorlacco(page, carta, float(double(t.Left) + 2.4), float(double(t.Top) + 1.5),
                   ArrotondaPari(5.5), true);

    if (Sistema.Capogioco != 0)
        StampaCapogioco(page, carta, o.x0 + 70, o.y0 + 90, 17, o.x0 + 57, o.y0 + 80, 60);

    ScrittaGrande(page, 26, o.x0 + 48, 67, Nero);
    PrintRotatedText(page, Sistema.Ruota, 450);
    page.FontBold = false;

    ScrittaGrande(page, 36, o.x0 + 42, 110, Nero);
    page.FillColor = Nero;
    page.Print(FormatoVincita(Sistema.ImportoSistema), true);
    page.FontBold = false;

    if (const QString address = PrintedAddress(); !address.isEmpty()) {
        ScrittaGrande(page, 22, o.x0 + 10, 130, Nero);
        page.Print(address, true);
        page.FontBold = false;
    }

    if (!vietato.isNull())
        page.PaintPicture(vietato, o.x0 + 5, 145, 90.0, 20.0);
    page.EndDoc();
}

bool StampaSchedaPronostico(PrinterPage& page, const DatiCarta& carta, const TaraturaAmbetto& t,
                            const PagePicture& vietato) {
    try {
        StampaPronosticoSullaPagina(page, carta, t, vietato);
        return true;
    } catch (const RunError& e) {
        SegnalaErroreStampa(page, e, QStringLiteral("StampaSchedaPronostico"),
                            QStringLiteral("Form frmStampaSchedine"));
    }
    return false;
}

} // namespace corpo
