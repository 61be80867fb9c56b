#include "outputs/schedine.h"
#include "app/corpo.h"
#include "app/maker.h"
#include "gioco/prospetto.h"

#include <QLocale>
#include <algorithm>

namespace corpo {

namespace {
// Walks `count` cells, `columns` to a row, from (x0, y0), adding the steps in
// single precision as the layout does, and keeps the cells mark(i) asks for.
template <typename Mark>
void Griglia(QList<Punto>& out, float x0, float y0, float dx, float dy, int columns, int count,
             Mark mark) {
    float x = x0, y = y0;
    for (int i = 0; i < count; ++i) {
        if (mark(i))
            out.append({x, y});
        if ((i + 1) % columns != 0) {
            x = x + dx;
        } else {
            y = y + dy;
            x = x0;
        }
    }
}
} // namespace

QList<Punto> CaselleScheda(const TaraturaAmbetto& t, const LayoutSchedina& l,
                           const ContenutoScheda& c, const RuoteSegnate& ruote) {
    QList<Punto> out;
    Griglia(out, t.Left, t.Top, t.DistanzaX, t.DistanzaY, 10, CaselleNumeri,
            [&](int i) { return c.numeri[size_t(i + 1)] == 'X'; });
    Griglia(out, l.XRuote, l.YRuote, 0, l.PassoRuote, 1, CaselleRuote,
            [&](int k) { return ruote[size_t(k)]; });
    // Printed top to bottom: Estratto, Ambo, Terno, Quaterna, Cinquina.
    Griglia(out, t.Ximporti, t.Yimporti, t.DXimporti, t.DYimporti, ColonneImporti,
            ColonneImporti * RigheImporti, [&](int i) {
                const int row = RigheImporti - 1 - i / ColonneImporti;
                const int column = i % ColonneImporti;
                return bool(c.importi[size_t(column * RigheImporti + row)]);
            });
    return out;
}

QList<Punto> CaselleProva(const TaraturaAmbetto& t, const LayoutSchedina& l) {
    QList<Punto> out;
    const auto all = [](int) { return true; };
    Griglia(out, t.Left, t.Top, t.DistanzaX, t.DistanzaY, 10, CaselleNumeri, all);
    Griglia(out, l.XRuote, l.YRuote, 0, l.PassoRuote, 1, CaselleRuote, all);
    Griglia(out, t.Ximporti, t.Yimporti, t.DXimporti, t.DYimporti, ColonneImporti,
            ColonneImporti * RigheImportiProva, all);
    return out;
}

QString RigaProdotto() {
    const QString address = PrintedAddress();
    return TitoloProgramma + QStringLiteral(" QRV") +
           (address.isEmpty() ? QString() : QStringLiteral(" - ") + address);
}

QString RigaImporto(float total, const QLocale& locale) {
    return QLatin1Char(' ') + FormatoVincita(total, locale) + QStringLiteral(" -- ");
}

QString RigaNumeroScheda(int slip) {
    return QStringLiteral("Scheda N. ") + QString::number(slip) + QStringLiteral(" -- ");
}

QString EtichettaProgresso(int slip) {
    return QStringLiteral("Scheda n. ") + QStringLiteral("%1").arg(slip, 4, 10, QLatin1Char('0'));
}

} // namespace corpo
