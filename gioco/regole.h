// The stake rules of the Lotto terminal, checked on the slips before they are
// printed: a terminal refuses a slip outside them.
#pragma once

#include "gioco/scommesse.h"
#include "gioco/sistema.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <array>

namespace corpo {

// The game's rules in one place: change them here when the game changes.
struct RegoleGioco {
    double minimo = 1.00;        // least slip total
    double massimo = 200.00;     // greatest slip total
    double passoSchedina = 0.50; // a slip total is a multiple of this
    double passoPuntata = 0.05;  // every stake is a multiple of this
    // Withheld from every win, whatever its size, since 1 October 2017
    // (decree-law 50/2017), to the cent on each slip.
    int ritenutaPercento = 8;
    double vincitaMassima = 6000000; // the most one slip wins, before the withholding
};
inline constexpr RegoleGioco Regole{};

struct ControlloRegole {
    std::array<float, NumeroGruppi> totali{}; // slip 1.. at index 0.., as the slip prints it
    QStringList violazioni;                   // one line per broken rule, slip by slip
};

// Each slip's total and every rule that the slips da..a break, e.g.
// "Schedina 3 (Quaterna 1): 1,30 € non è un multiplo di 0,50 €", and every
// stake that the slip's amount cells cannot mark ("... la puntata Ambo di
// 0,40 € non si può segnare sulla schedina (si segnerebbe 0,35 €)"), amounts
// in the given locale.
ControlloRegole ControllaRegole(const SystemRecord& record, int da = 1, int a = NumeroGruppi,
                                const QLocale& locale = QLocale(),
                                const RegoleGioco& regole = Regole);

// The whole message listing every failing slip; empty when none fails.
QString MessaggioRegole(const ControlloRegole& controllo);

} // namespace corpo
