#include "gioco/statistiche.h"

#include <algorithm>
#include <bit>

namespace corpo {

Statistiche CalcolaStatistiche(const Archivio& archivio, const SystemRecord& record, int ruota,
                               const QDate& dal) {
    Statistiche out;
    if (ruota < 0 || ruota >= NumeroRuote)
        return out;
    // Per number 1..90: the index of the last draw holding it, its longest
    // gap so far and its count. Per bet: which bets hold a number (a bit
    // each), the last draw with an ambo and with a terno. Indexed by any byte a
    // grape can hold, so nothing needs a check; a blank (0) is never drawn and
    // its figures are never shown.
    std::array<int, 256> ultima, massimo{}, volte{};
    ultima.fill(-1);
    std::array<uint16_t, 256> inScommessa{};
    for (const Scommessa& bet : Scommesse)
        for (uint8_t n : bet.Numeri(record))
            inScommessa[n] |= uint16_t(1u << bet.group);
    std::array<int, NumeroGruppi> ultimoAmbo, ultimoTerno;
    ultimoAmbo.fill(-1);
    ultimoTerno.fill(-1);

    int d = 0;
    const auto from =
        dal.isValid() ? archivio.estrazioni.lower_bound(dal) : archivio.estrazioni.begin();
    for (auto it = from; it != archivio.estrazioni.end(); ++it) {
        const Estratti& e = it->second[size_t(ruota)];
        if (e[0] == 0) // no draw on this wheel that day
            continue;
        if (!out.prima.isValid())
            out.prima = it->first;
        out.ultima = it->first;
        std::array<uint8_t, NumeroGruppi> colpi{};
        for (uint8_t n : e) {
            massimo[n] = std::max(massimo[n], d - ultima[n] - 1);
            ultima[n] = d;
            ++volte[n];
            for (uint16_t bets = inScommessa[n]; bets; bets &= uint16_t(bets - 1))
                ++colpi[size_t(std::countr_zero(bets))];
        }
        for (int g = 0; g < NumeroGruppi; ++g) {
            if (colpi[size_t(g)] >= 2)
                ultimoAmbo[size_t(g)] = d;
            if (colpi[size_t(g)] >= 3)
                ultimoTerno[size_t(g)] = d;
        }
        ++d;
    }
    out.estrazioni = d;
    out.frequenzaAttesa = d * 5.0 / NumeroMassimo;
    size_t at = 0;
    for (const Scommessa& bet : Scommesse) {
        for (uint8_t n : bet.Numeri(record)) {
            StatisticaNumero& s = out.numeri[at++];
            s.numero = n;
            s.ritardo = d - ultima[n] - 1;
            s.ritardoMax = std::max(massimo[n], s.ritardo);
            s.frequenza = volte[n];
        }
        StatisticaScommessa& s = out.scommesse[size_t(bet.group)];
        if (bet.size >= 2)
            s.ritardoAmbo = d - ultimoAmbo[size_t(bet.group)] - 1;
        if (bet.size >= 3)
            s.ritardoTerno = d - ultimoTerno[size_t(bet.group)] - 1;
    }
    return out;
}

} // namespace corpo
