// A small archive counted by hand, and the system it is counted for: the numbers 1..29 in bet order
// on Bari (Cinquina 1 is 1 2 3 4 5, Terno 1 is 19 20 21, Ambo 1 is 25 26, the Estratto 29).
#pragma once

#include "gioco/scommesse.h"

#include <QByteArray>

namespace testsupport {

// Bari draws five times (d0..d4); 21/01 has Napoli only. Counted by hand, on Bari:
//   1: d0 d1      delay 3, longest 3 (the current run), frequency 2
//   2: d0 d2      delay 2, longest 2 (current; between them 1), frequency 2
//   3: d0         delay 4, longest 4, frequency 1
//   19 20 21: d2  delay 2, longest 2 (before it, and after), frequency 1
//   25: d4        delay 0, longest 4 (before it), frequency 1
//   every other:  delay 5, longest 5, frequency 0
//   Cinquina 1: ambo and terno at d0: 4, 4. Terno 1: terno at d2: 2, 2.
//   Ambo 1: never both: 5. Others: never, 5 (and 5 for the terno).
// From 14/01 (d1..d4): 1 → 3 3 1; 2 → 2 2 1; 3 → 4 4 0; Cinquina 1 → 4, 4.
inline const QByteArray ArchivioPiccolo = "1939/01/07\tBA\t3\t2\t1\t40\t50\n"   // d0
                                          "1939/01/14\tBA\t60\t61\t62\t63\t1\n" // d1
                                          "1939/01/14\tNA\t2\t3\t4\t5\t6\n"
                                          "1939/01/21\tNA\t1\t2\t3\t4\t5\n"
                                          "1939/01/28\tBA\t21\t19\t20\t2\t70\n"   // d2
                                          "1939/02/04\tBA\t80\t81\t82\t83\t84\n"  // d3
                                          "1939/02/11\tBA\t25\t90\t89\t88\t87\n"; // d4

inline corpo::SystemRecord SistemaPiccolo() {
    corpo::SystemRecord r;
    uint8_t n = 1;
    for (const corpo::Scommessa& b : corpo::Scommesse)
        for (uint8_t& x : b.Numeri(r))
            x = n++;
    r.Ruota = QStringLiteral("Tutte     "); // no single wheel: Bari is counted
    return r;
}

} // namespace testsupport
