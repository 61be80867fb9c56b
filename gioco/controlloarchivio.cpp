#include "gioco/controlloarchivio.h"
#include "gioco/prospetto.h"

#include <QStringList>
#include <algorithm>

namespace corpo {

namespace {

// Enough for the player to read; a hostile archive costs no more.
constexpr int RilieviNominati = 500;
constexpr int Cagliari = 1, Genova = 3, Nazionale = 10;

// "ruota di Bari", "ruota Nazionale"
QString RuotaDi(int r) {
    return r == Nazionale ? QStringLiteral("ruota Nazionale")
                          : QStringLiteral("ruota di ") + NomeRuota(r);
}

QString Mancanti(const QList<int>& ruote) {
    if (ruote.size() == 1)
        return QStringLiteral("manca la ") + RuotaDi(ruote[0]) + QLatin1Char('.');
    QStringList nomi;
    for (int r : ruote)
        nomi << NomeRuota(r);
    const QString ultima = nomi.takeLast();
    return QStringLiteral("mancano le ruote di %1 e %2.")
        .arg(nomi.join(QStringLiteral(", ")), ultima);
}

} // namespace

namespace {
// The wheels expected on a date, a bit each: no list built for each of
// millions of dates.
unsigned Attese(const QDate& data) {
    if (data < InizioArchivio)
        return 0;
    unsigned m = (1u << NumeroRuote) - 1;
    if (data < InizioCagliariGenova)
        m &= ~((1u << Cagliari) | (1u << Genova));
    if (data < InizioNazionale)
        m &= ~(1u << Nazionale);
    return m;
}
QList<int> Elenco(unsigned ruote) {
    QList<int> out;
    for (int r = 0; r < NumeroRuote; ++r)
        if (ruote & (1u << r))
            out << r;
    return out;
}
} // namespace

QList<int> RuoteAttese(const QDate& data) { return Elenco(Attese(data)); }

ControlloArchivio ControllaArchivio(const Archivio& archivio) {
    ControlloArchivio out;
    // The text is worded only for the findings named: a hostile archive
    // may have millions.
    const auto rileva = [&out](const QDate& data, const auto& testo) {
        if (out.totale++ >= RilieviNominati)
            return;
        const QString t = testo();
        out.rilievi.append(
            {data, data.isValid() ? FormatoData(data) + QStringLiteral(": ") + t : t});
    };
    QDate prima;
    int estrazioni = 0, ordinate = 0;
    for (const auto& giorno : archivio.estrazioni) {
        // Named, not bound: a lambda below takes the date.
        const QDate& data = giorno.first;
        const auto& ruote = giorno.second;
        int massimo = 0; // none
        for (const Intervallo& i : IntervalliMassimi)
            massimo = prima.isValid() && prima >= i.dal ? i.giorni : massimo;
        if (massimo && prima.daysTo(data) > massimo)
            rileva(data, [&] {
                return QStringLiteral("%1 giorni senza estrazioni dopo il %2.")
                    .arg(FormatoConteggio(prima.daysTo(data) - 1), FormatoData(prima));
            });
        prima = data;
        unsigned presenti = 0;
        for (int r = 0; r < NumeroRuote; ++r) {
            const Estratti& e = ruote[size_t(r)];
            if (e[0] == 0)
                continue;
            presenti |= 1u << r;
            ++estrazioni;
            ordinate += std::is_sorted(e.begin(), e.end());
        }
        const unsigned attese = Attese(data);
        const QList<int> mancanti = Elenco(attese & ~presenti);
        // Before the history starts nothing is expected, nor unexpected.
        const QList<int> inattese = Elenco(data < InizioArchivio ? 0 : presenti & ~attese);
        if (!mancanti.isEmpty())
            rileva(data, [&] { return Mancanti(mancanti); });
        for (int r : inattese)
            rileva(data, [&] {
                return QStringLiteral("c'è la %1, che si estrae solo dal %2.")
                    .arg(RuotaDi(r),
                         FormatoData(r == Nazionale ? InizioNazionale : InizioCagliariGenova));
            });
    }
    // Five numbers in the order drawn come out rising once in 120 draws:
    // an archive mostly rising has been sorted, and the order is lost.
    if (estrazioni >= 20 && ordinate * 2 > estrazioni)
        rileva(QDate(), [&] {
            return QStringLiteral("In %1 estrazioni su %2 i numeri sono in ordine crescente: "
                                  "l'archivio sembra riordinato, non nell'ordine di estrazione.")
                .arg(ordinate)
                .arg(estrazioni);
        });
    return out;
}

} // namespace corpo
