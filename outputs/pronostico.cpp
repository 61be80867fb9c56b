#include "outputs/pronostico.h"

#include "app/corpo.h"
#include "app/fileio.h"
#include "app/messages.h"
#include "outputs/erroristampa.h"
#include "outputs/schedine.h"
#include "printing/printerpage.h"
#include "printing/vorlacco.h"
#include "update/maker.h"
#include "winnings/prospetto.h"

namespace corpo {

namespace {
constexpr int32_t Nero = 0;
const QString ComicSans = QStringLiteral("Comic Sans MS");
const QString CourierNew = QStringLiteral("Courier New");
} // namespace

OrigineProspetto CalcolaOrigineProspetto(const TaraturaAmbetto& t) {
    OrigineProspetto o;
    o.x0 = RoundHalfEven(double(t.Left) - 5.0);
    o.y0 = RoundHalfEven(double(t.Intestazione));
    o.passo = RoundHalfEven(2.5);
    return o;
}

void StampaProspettoSullaPagina(PrinterPage& page, const TaraturaAmbetto& t,
                                const PagePicture& vietato) {
    const OrigineProspetto o = CalcolaOrigineProspetto(t);
    const QString web = IndirizzoStampato();

    page.DocName = TitoloLavoro(QStringLiteral("Pronostico"));
    page.FillStyle = 0;
    page.ScaleMode = scale::Millimeters;
    page.PrintQuality = t.Qualita == QualitaNormale ? -3 : -1;
    page.DrawStyle = 0;
    page.DrawWidth = 1;
    page.ForeColor = Nero;
    page.FontName = CourierNew;
    page.FontSize = 5;

    // Header block.
    page.FontBold = true;
    page.CurrentX = o.x0 + o.passo;
    page.CurrentY = o.y0 + o.passo;
    page.Print(AppTitle + QStringLiteral(" by Marvolt - "), false);
    page.Print(IntestazioneStampa, true);
    page.FontBold = false;
    page.CurrentX = o.x0 + o.passo;
    page.Print(QStringLiteral("x") + QString(90, QChar(0x2014)) + QStringLiteral("x"), true);
    page.CurrentX = o.x0 + o.passo;
    page.Print(QStringLiteral("Nome Sistema ") + Sistema.NomeSistema, false);
    page.FontBold = true;
    page.FontSize = 7;
    page.Print(QString(26, QLatin1Char(' ')) + web, true);
    page.FontSize = 5.5;
    page.FontBold = false;
    page.CurrentX = o.x0 + o.passo;
    page.CurrentY = page.CurrentY + o.passo;
    page.Print(QStringLiteral("Ruota Sistema ") + Sistema.Ruota, true);

    // Title.
    page.FontSize = 24;
    page.FontName = ComicSans;
    page.FontBold = true;
    page.ForeColor = Nero;
    page.CurrentX = o.x0 + 27;
    page.CurrentY = o.y0 + 13;
    page.Print(AppTitle, false);
    page.FontBold = false;

    // The bunch reports its own failures and the card goes on without it.
    stampaVorlacco(float(double(t.Left) + 2.4), float(double(t.Top) + 1.5), RoundHalfEven(5.5),
                   true);

    if (Sistema.Capogioco != 0) {
        page.FillStyle = 0;
        page.FillColor = ColoreCapogioco;
        page.ForeColor = ColoreCapogioco;
        page.CurrentX = o.x0 + 70;
        page.CurrentY = o.y0 + 90;
        page.Circle(page.CurrentX, page.CurrentY, 17, Nero);
        page.CurrentX = o.x0 + 57;
        page.CurrentY = o.y0 + 80;
        page.FontName = CourierNew;
        page.FontSize = 60;
        page.FontBold = true;
        page.ForeColor = ColoreCifra(ColoreCapogioco);
        page.Print(QStringLiteral("%1").arg(int(Sistema.Capogioco), 2, 10, QLatin1Char('0')),
                   false);
    }

    page.FontBold = true;
    page.FontName = ComicSans;
    page.FontSize = 26;
    page.ForeColor = Nero;
    page.CurrentX = o.x0 + 48;
    page.CurrentY = 67;
    StampaTestoRuotato(Sistema.Ruota, 450);
    page.FontBold = false;

    page.FontBold = true;
    page.FontName = ComicSans;
    page.FontSize = 36;
    page.CurrentX = o.x0 + 42;
    page.CurrentY = 110;
    page.FillColor = Nero;
    page.ForeColor = Nero;
    page.Print(FormatoVincita(Sistema.ImportoSistema), true);
    page.FontBold = false;

    page.FontBold = true;
    page.FontName = ComicSans;
    page.FontSize = 22;
    page.CurrentX = o.x0 + 10;
    page.CurrentY = 130;
    page.FillColor = Nero;
    page.ForeColor = Nero;
    page.Print(web, true);
    page.FontBold = false;

    if (!vietato.isNull())
        page.PaintPicture(vietato, o.x0 + 5, 145, 90.0, 20.0);
    page.EndDoc();
}

bool StampaSchedaPronostico(const TaraturaAmbetto& t, const PagePicture& vietato) {
    PrinterPage& page = Printer();
    try {
        StampaProspettoSullaPagina(page, t, vietato);
        return true;
    } catch (const RunError& e) {
        SegnalaErroreStampa(e, QStringLiteral("StampaSchedaPronostico"),
                            QStringLiteral("Form frmStampaSchedine"));
    }
    return false;
}

} // namespace corpo
