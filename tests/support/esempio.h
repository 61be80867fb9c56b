// The system of the draw check's worked example, shared by the tests of the
// game and of the windows.
#pragma once

#include "gioco/scommesse.h"

#include <QString>

namespace testsupport {

// Cinquina 1 is 7 18 33 45 62 staked only on the Ambo (1 €), the Estratto 3
// staked 1 €, nothing else; the other bets from 51 up (Quaterna 1 is 56..59). A head number opens
// every bet.
inline corpo::SystemRecord Esempio(const QString& ruota, int head = 0) {
    using namespace corpo;
    SystemRecord r;
    uint8_t n = 50;
    for (const Scommessa& b : Scommesse)
        for (uint8_t& v : b.Numbers(r))
            v = b.group == Cinq1 ? 0 : n += 1 + (n == 61);
    r.Cinq1 = {7, 18, 33, 45, 62};
    r.Estratto = 3;
    for (const Scommessa& b : Scommesse)
        if (head)
            b.Numbers(r)[0] = uint8_t(head);
    r.Capogioco = uint8_t(head);
    r.ImpCinq1[0] = 1;
    r.ImpEstratto = 1;
    r.Ruota = ruota;
    return r;
}

} // namespace testsupport
