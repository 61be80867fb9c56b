#include "outputs/schedine.h"
#include "app/maker.h"
#include "winnings/prospetto.h"

#include <QLocale>
#include <algorithm>

namespace corpo {

GrigliaNumeri GrigliaNumeriVuota() {
    GrigliaNumeri g;
    g.fill(' ');
    return g;
}

void SegnaNumeri(GrigliaNumeri& grid, std::span<const uint8_t> numbers) {
    for (uint8_t v : numbers) {
        if (v >= grid.size())
            continue; // not a number of the slip
        grid[v] = v != 0 ? 'X' : ' ';
    }
}

void ScomponiImporto(GrigliaImporti& grid, float stake, int row) {
    float r = stake;
    for (int j = 0; j < ColonneImporti; ++j) {
        if (double(r) >= Tagli[size_t(j)]) {
            r = AiCentesimi(double(r) - Tagli[size_t(j)]);
            grid[size_t(row + 5 * j)] = true;
        }
    }
}

float ImportoSegnato(float stake) {
    GrigliaImporti grid{};
    ScomponiImporto(grid, stake, 0);
    double marked = 0;
    for (int j = 0; j < ColonneImporti; ++j)
        if (grid[size_t(RigheImporti * j)])
            marked += Tagli[size_t(j)];
    return AiCentesimi(marked);
}

void ScomponiImporti(GrigliaImporti& grid, std::span<const float> stakes) {
    static constexpr int righe[6] = {3, 2, 1, 0, 0, 0};
    for (size_t k = 0; k < stakes.size() && k < 6; ++k)
        ScomponiImporto(grid, stakes[k], righe[k]);
}

const Scommessa& ScommessaDiScheda(int slip) {
    return Scommesse[size_t(slip >= SchedaMinima && slip < SchedaMassima ? slip - 1 : Estratto)];
}

ContenutoScheda PreparaScheda(const SystemRecord& record, int slip) {
    const Scommessa& bet = ScommessaDiScheda(slip);
    const std::span<const float> importi = bet.Stakes(record);
    ContenutoScheda c;
    c.numeri = GrigliaNumeriVuota();
    c.importi.fill(false);
    if (bet.group == Estratto) {
        c.totale = importi[0];
        ScomponiImporto(c.importi, importi[0], RigaEstratto);
    } else {
        c.totale = SommaImporti(importi);
        ScomponiImporti(c.importi, importi);
    }
    SegnaNumeri(c.numeri, bet.Numbers(record));
    return c;
}

std::optional<ErroreIntervallo> ControllaIntervallo(int da, int a) {
    if (a < da)
        return ErroreIntervallo{QStringLiteral("'DA' è maggiore di 'A'"),
                                QStringLiteral(" !!! E R R O R E !!! ")};
    if (da < SchedaMinima)
        return ErroreIntervallo{QStringLiteral("'DA' è minore del minimo"),
                                QStringLiteral("!!! E R R O R E !!!")};
    if (a > SchedaMassima)
        return ErroreIntervallo{QStringLiteral("'A' è maggiore del massimo"),
                                QStringLiteral("!!! E R R O R E !!!")};
    return std::nullopt;
}

int ValoreCampoScheda(const QString& text) { return text.trimmed().toInt(); }

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
    const QString address = IndirizzoStampato();
    return AppTitle + QStringLiteral(" QRV") +
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
