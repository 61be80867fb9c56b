#include "gioco/schedina.h"

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
    Q_ASSERT(stakes.size() <= 4); // a bet's members
    for (size_t k = 0; k < stakes.size(); ++k)
        ScomponiImporto(grid, stakes[k], 3 - int(k));
}

const Scommessa& ScommessaDiScheda(int slip) {
    return Scommesse[size_t(slip >= SchedaMinima && slip < SchedaMassima ? slip - 1 : Estratto)];
}

ContenutoScheda PreparaScheda(const SystemRecord& record, int slip) {
    const Scommessa& bet = ScommessaDiScheda(slip);
    const std::span<const float> importi = bet.Importi(record);
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
    SegnaNumeri(c.numeri, bet.Numeri(record));
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

} // namespace corpo
