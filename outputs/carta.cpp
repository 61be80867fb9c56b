#include "outputs/carta.h"

#include "app/corpo.h"
#include "app/maker.h"

namespace corpo {

void StampaIntestazione(PrinterPage& page, const DatiCarta& carta, double x, double y, double size,
                        int trattini) {
    page.FontName = CourierNew;
    page.FontSize = size;
    page.FontBold = true;
    page.CurrentX = x;
    page.CurrentY = y;
    page.Print(TitoloProgramma + QStringLiteral(" by Marvolt - "), false);
    page.Print(carta.intestazione, true);
    page.FontBold = false;
    page.CurrentX = x;
    page.Print(QStringLiteral("x") + QString(trattini, QChar(0x2014)) + QStringLiteral("x"), true);
    page.CurrentX = x;
    const QString address = PrintedAddress();
    page.Print(QStringLiteral("Nome Sistema ") + carta.sistema.NomeSistema, address.isEmpty());
    if (!address.isEmpty()) {
        page.FontBold = true;
        page.FontSize = size * 7 / 5;
        page.Print(QString(26, QLatin1Char(' ')) + address, true);
    }
    page.FontSize = size;
    page.FontBold = false;
}

void ScrittaGrande(PrinterPage& page, double size, double x, double y, int32_t colore) {
    page.FontBold = true;
    page.FontName = ComicSans;
    page.FontSize = size;
    page.CurrentX = x;
    page.CurrentY = y;
    page.ForeColor = colore;
}

void StampaCapogioco(PrinterPage& page, const DatiCarta& carta, double cx, double cy, double raggio,
                     double x, double y, double size) {
    page.FillStyle = 0;
    page.FillColor = carta.colori.capogioco;
    page.ForeColor = carta.colori.capogioco;
    page.CurrentX = cx;
    page.CurrentY = cy;
    page.Circle(cx, cy, raggio, Nero);
    page.CurrentX = x;
    page.CurrentY = y;
    page.FontName = CourierNew;
    page.FontBold = true;
    page.FontSize = size;
    page.ForeColor = ColoreCifra(carta.colori.capogioco);
    page.Print(QStringLiteral("%1").arg(int(carta.sistema.Capogioco), 2, 10, QLatin1Char('0')),
               false);
}

} // namespace corpo
