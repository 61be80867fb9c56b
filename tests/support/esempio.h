// The system of the draw check's worked example, shared by the tests of the game and windows.
#pragma once

#include "gioco/numbers.h"
#include "gioco/scommesse.h"

#include <QString>

namespace testsupport {

// Cinquina 1 is 7 18 33 45 62 staked only on the Ambo (1 €), the Estratto 3 staked 1 €, nothing
// else; the other bets from 51 up (Quaterna 1 is 56..59). A head number opens every bet.
inline corpo::SystemRecord Esempio(const QString& ruota, int head = 0) {
    using namespace corpo;
    SystemRecord r;
    uint8_t n = 50;
    for (const Scommessa& b : Scommesse)
        for (uint8_t& v : b.Numeri(r))
            v = b.group == Cinq1 ? 0 : n += 1 + (n == 61);
    r.Cinq1 = {7, 18, 33, 45, 62};
    r.Estratto = 3;
    for (const Scommessa& b : Scommesse)
        if (head)
            b.Numeri(r)[0] = uint8_t(head);
    r.Capogioco = uint8_t(head);
    r.ImpCinq1[0] = 1;
    r.ImpEstratto = 1;
    r.Ruota = ruota;
    return r;
}

// The numbers 1..29 in bet order, staked as the 10 euro button does; a head number opens every bet.
inline void Numerato(corpo::SystemRecord& r, const QString& ruota, int head = 0) {
    using namespace corpo;
    uint8_t n = 1;
    for (const Scommessa& b : Scommesse)
        for (int i = 0; i < b.size; ++i)
            b.Numeri(r)[size_t(i)] = i == 0 && head ? uint8_t(head) : n++;
    r.Capogioco = uint8_t(head);
    r.Ruota = ruota;
    ApplyPreset(r, Preset::Euro10);
}

} // namespace testsupport
