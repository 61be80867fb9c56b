#include "gioco/regole.h"

#include "gioco/importi.h"
#include "gioco/prospetto.h"
#include "gioco/schedina.h"

#include <cmath>

namespace corpo {

namespace {

// Whether amount is whole cents and a whole number of steps: a float is never
// exactly 0.05, so both are counted in cents.
bool Multiplo(float amount, double step) {
    return CentesimiInteri(amount) &&
           std::fmod(std::round(double(amount) * 100), std::round(step * 100)) == 0;
}

} // namespace

ControlloRegole ControllaRegole(const SystemRecord& record, int da, int a, const QLocale& locale,
                                const RegoleGioco& regole) {
    ControlloRegole out;
    const auto euro = [&](double v) { return FormatoEuro(float(v), locale); };
    for (int slip = SchedaMinima; slip <= SchedaMassima; ++slip) {
        const float totale = PreparaScheda(record, slip).totale;
        out.totali[size_t(slip - 1)] = totale;
        if (slip < da || slip > a)
            continue;
        const Scommessa& bet = ScommessaDiScheda(slip);
        const QString chi = QStringLiteral("Schedina %1 (%2): ").arg(slip).arg(bet.Nome());
        const std::span<const float> importi = bet.Importi(record);
        for (size_t k = 0; k < importi.size(); ++k) {
            const float stake = importi[k];
            const QString puntata =
                QStringLiteral("la puntata %1 di %2 ").arg(bet.NomeTipo(int(k)), euro(stake));
            if (!Multiplo(stake, regole.passoPuntata))
                out.violazioni
                    << chi + puntata +
                           QStringLiteral("non è un multiplo di %1").arg(euro(regole.passoPuntata));
            else if (const float segnato = ImportoSegnato(stake);
                     Centesimi(segnato) != Centesimi(stake))
                // Each amount cell marks once: the terminal would read less.
                out.violazioni << chi + puntata +
                                      QStringLiteral("non si può segnare sulla schedina (si "
                                                     "segnerebbe %1)")
                                          .arg(euro(segnato));
        }
        if (Centesimi(totale) < Centesimi(regole.minimo))
            out.violazioni << chi + QStringLiteral("%1 è meno del minimo di %2")
                                        .arg(euro(totale), euro(regole.minimo));
        else if (Centesimi(totale) > Centesimi(regole.massimo))
            out.violazioni << chi + QStringLiteral("%1 supera il massimo di %2")
                                        .arg(euro(totale), euro(regole.massimo));
        if (!Multiplo(totale, regole.passoSchedina))
            out.violazioni << chi + QStringLiteral("%1 non è un multiplo di %2")
                                        .arg(euro(totale), euro(regole.passoSchedina));
    }
    return out;
}

QString MessaggioRegole(const ControlloRegole& controllo) {
    if (controllo.violazioni.isEmpty())
        return {};
    return QStringLiteral("Il terminale del Lotto rifiuterà queste schedine:\n\n") +
           controllo.violazioni.join(QLatin1Char('\n')) + QStringLiteral("\n\nStamparle comunque?");
}

} // namespace corpo
