// What the archive says of the system's numbers on one wheel: how long each
// has been missing, its longest absence, how often it came out; and for each
// bet how long since two (or three) of its numbers came out together.
#pragma once

#include "gioco/scommesse.h"
#include "gioco/sistema.h"
#include "gioco/verifica.h"

#include <QDate>
#include <array>
#include <cstdint>

namespace corpo {

// One grape. Counted in the wheel's draws, oldest first; a number never drawn
// has been missing for every one of them.
struct StatisticaNumero {
    uint8_t numero = 0; // 0: the grape is blank, and nothing is counted
    int ritardo = 0;    // the draws after the last one that holds it
    int ritardoMax = 0; // the longest run of draws without it, the current one too
    int frequenza = 0;  // the draws that hold it
};

// One bet: the draws since two (three) of its numbers came out together;
// -1 where the bet is too small for that hit.
struct StatisticaScommessa {
    int ritardoAmbo = -1;
    int ritardoTerno = -1;
};

struct Statistiche {
    int estrazioni = 0;       // the wheel's draws counted
    QDate prima, ultima;      // the first and the last of them; none when none
    double frequenzaAttesa{}; // 5/90 of the draws: what a number averages
    std::array<StatisticaNumero, NumeroNumeri> numeri; // bunch order: bet by bet
    std::array<StatisticaScommessa, NumeroGruppi> scommesse;
};

// The statistics of the record's numbers on `ruota` (0..NumeroRuote-1) over the
// archive's draws from `dal` on (all of them when `dal` is none). One pass.
Statistiche CalcolaStatistiche(const Archivio& archivio, const SystemRecord& record, int ruota,
                               const QDate& dal = {});

} // namespace corpo
