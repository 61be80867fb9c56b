#include "outputs/stampaschedine.h"

#include "app/corpo.h"
#include "app/fileio.h"
#include "app/settings.h"
#include "outputs/carta.h"
#include "printing/printerpage.h"

#include <QLocale>

namespace corpo {

void ImpostaPaginaSchedina(PrinterPage& page, int fillStyle) {
    page.FillStyle = fillStyle;
    page.ScaleMode = scale::Millimeters;
    page.DrawWidth = 1;
    page.ForeColor = Nero;
}

void DisegnaCasella(PrinterPage& page, const Punto& p) {
    page.Line(p.x, p.y, p.x + LatoCasella, p.y + LatoCasella, Nero, true);
}

void StampaBloccoTesto(PrinterPage& page, const DatiCarta& carta, const TaraturaAmbetto& t,
                       float totale, int slip) {
    page.CurrentY = t.Intestazione;
    page.CurrentX = t.Left;
    page.FontBold = false;
    page.FontSize = 12;
    page.FontName = ComicSans;
    page.Print(RigaProdotto(), true);
    page.CurrentX = t.Left;
    page.FontSize = 10;
    page.FontBold = true;
    page.Print(RigaImporto(totale, QLocale()), false);
    page.Print(RigaNumeroScheda(slip), false);
    page.Print(carta.sistema.NomeSistema, true);
    page.CurrentX = t.Left;
    page.FontName = ComicSans;
    page.FontSize = 8;
    page.Print(carta.intestazione, true);
}

void StampaSchedineSullaPagina(PrinterPage& page, const DatiCarta& carta, TaraturaAmbetto& t,
                               int da, int a, const AvanzamentoSchedine& avanzamento) {
    const SystemRecord& Sistema = carta.sistema;
    // A wheel not in the list marks no wheel cell (the window has said so).
    RuoteSegnate ruote{};
    if (const std::optional<int> ruota = IndiceRuota(Sistema.Ruota, NomiRuote()))
        ruote[size_t(*ruota)] = true;

    ImpostaPaginaSchedina(page, 0);
    const LayoutSchedina layout = CalcolaLayout(t);
    page.FontSize = 10;

    // The title names the slips the job really holds.
    auto fine = [&](int ultima) {
        page.DocName =
            TitoloLavoro(da == ultima ? QStringLiteral("Schedina %1").arg(da)
                                      : QStringLiteral("Schedine %1-%2").arg(da).arg(ultima),
                         Sistema);
        page.EndDoc();
    };
    for (int s = da; s <= a; ++s) {
        if (avanzamento.fermare && avanzamento.fermare()) {
            // The slips drawn so far still make their job.
            fine(s - 1);
            return;
        }
        const ContenutoScheda c = PreparaScheda(Sistema, s);
        for (const Punto& p : CaselleScheda(t, layout, c, ruote))
            DisegnaCasella(page, p);
        StampaBloccoTesto(page, carta, t, c.totale, s);
        if (avanzamento.schedaStampata)
            avanzamento.schedaStampata(s);
        page.NewPage();
    }
    fine(a);
}

void StampaProvaSullaPagina(PrinterPage& page, const DatiCarta& carta, TaraturaAmbetto& t) {
    ImpostaPaginaSchedina(page, 1);
    page.DocName = TitoloProgramma + QStringLiteral(" - Taratura");
    const LayoutSchedina layout = CalcolaLayout(t);
    for (const Punto& p : CaselleProva(t, layout))
        DisegnaCasella(page, p);
    StampaBloccoTesto(page, carta, t, 0, 0);
    page.EndDoc();
}

QList<Mirino> MiriniRighello(const TaraturaAmbetto& calibration) {
    TaraturaAmbetto t = calibration;
    const LayoutSchedina layout = CalcolaLayout(t);
    const QList<Punto> cells = CaselleProva(t, layout);
    const int lastAmount = PrimaCasellaImporti + ColonneImporti * RigheImporti - 1;
    const QList<QPair<QString, int>> chosen = {
        {QStringLiteral("1"), 0},
        {QStringLiteral("10"), 9},
        {QStringLiteral("81"), 80},
        {QStringLiteral("90"), 89},
        {QStringLiteral("Ruota 1"), PrimaCasellaRuote},
        {QStringLiteral("Ruota 12"), PrimaCasellaRuote + CaselleRuote - 1},
        {QStringLiteral("Importo 1"), PrimaCasellaImporti},
        {QStringLiteral("Importo 65"), lastAmount},
    };
    QList<Mirino> out;
    for (const auto& [name, index] : chosen) {
        const Punto& p = cells[index];
        out.append({name, p.x + LatoCasella / 2, p.y + LatoCasella / 2});
    }
    return out;
}

void StampaRighelloSullaPagina(PrinterPage& page, const TaraturaAmbetto& t) {
    ImpostaPaginaSchedina(page, 1);
    page.DocName = TitoloProgramma + QStringLiteral(" - Righello");
    page.FontName = CourierNew;
    page.FontBold = false;
    page.FontSize = 6;
    // A4 paper. The rulers measure from the paper's edges but start 5 mm in,
    // where every printer still marks.
    constexpr int margine = 5;
    constexpr int larghezza = 205;
    constexpr int altezza = 290;
    const QLocale locale;

    auto lunghezzaTacca = [](int mm) { return mm % 10 == 0 ? 5.0 : mm % 5 == 0 ? 3.5 : 2.0; };
    for (int mm = margine; mm <= larghezza; ++mm) {
        page.Line(mm, margine, mm, margine + lunghezzaTacca(mm), Nero, false);
        if (mm % 10 == 0) {
            const QString n = QString::number(mm);
            page.CurrentX = mm - page.TextWidth(n) / 2;
            page.CurrentY = margine + 5.5;
            page.Print(n, false);
        }
    }
    for (int mm = margine; mm <= altezza; ++mm) {
        page.Line(margine, mm, margine + lunghezzaTacca(mm), mm, Nero, false);
        if (mm % 10 == 0) {
            const QString n = QString::number(mm);
            page.CurrentX = margine + 5.5;
            page.CurrentY = mm - page.TextHeight(n) / 2;
            page.Print(n, false);
        }
    }

    for (const Mirino& m : MiriniRighello(t)) {
        page.Line(m.x - 5, m.y, m.x + 5, m.y, Nero, false);
        page.Line(m.x, m.y - 5, m.x, m.y + 5, Nero, false);
        page.CurrentX = m.x + 1;
        page.CurrentY = m.y + 1;
        page.Print(QStringLiteral("%1 (%2; %3)")
                       .arg(m.nome, locale.toString(double(m.x), 'f', 1),
                            locale.toString(double(m.y), 'f', 1)),
                   false);
    }
    page.EndDoc();
}

} // namespace corpo
