#include "gioco/controlloarchivio.h"

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

QList<int> RuoteAttese(const QDate& data) {
    QList<int> out;
    if (data < InizioArchivio)
        return out;
    for (int r = 0; r < NumRuote; ++r)
        if (((r != Cagliari && r != Genova) || data >= InizioCagliariGenova) &&
            (r != Nazionale || data >= InizioNazionale))
            out << r;
    return out;
}

ControlloArchivio ControllaArchivio(const Archivio& archivio) {
    ControlloArchivio out;
    const auto rileva = [&out](const QDate& data, const QString& testo) {
        if (out.totale++ < RilieviNominati)
            out.rilievi.append(
                {data, data.isValid() ? FormatoData(data) + QStringLiteral(": ") + testo : testo});
    };
    QDate prima;
    int estrazioni = 0, ordinate = 0;
    for (const auto& [data, ruote] : archivio.estrazioni) {
        if (prima.isValid() && prima >= InizioCalendarioRegolare &&
            prima.daysTo(data) > IntervalloMassimo)
            rileva(data, QStringLiteral("nessuna estrazione nei %1 giorni dopo il %2.")
                             .arg(prima.daysTo(data) - 1)
                             .arg(FormatoData(prima)));
        prima = data;
        const QList<int> attese = RuoteAttese(data);
        QList<int> mancanti, inattese;
        for (int r = 0; r < NumRuote; ++r) {
            const Estratti& e = ruote[size_t(r)];
            const bool c = e[0] != 0;
            if (!c && attese.contains(r))
                mancanti << r;
            if (c && !attese.contains(r) && data >= InizioArchivio)
                inattese << r;
            if (c) {
                ++estrazioni;
                ordinate += std::is_sorted(e.begin(), e.end());
            }
        }
        if (!mancanti.isEmpty())
            rileva(data, Mancanti(mancanti));
        for (int r : inattese)
            rileva(data, QStringLiteral("c'è la %1, che si estrae solo dal %2.")
                             .arg(RuotaDi(r), FormatoData(r == Nazionale ? InizioNazionale
                                                                         : InizioCagliariGenova)));
    }
    // Five numbers in the order drawn come out rising once in 120 draws:
    // an archive mostly rising has been sorted, and the order is lost.
    if (estrazioni >= 20 && ordinate * 2 > estrazioni)
        rileva({}, QStringLiteral("In %1 estrazioni su %2 i numeri sono in ordine crescente: "
                                  "l'archivio sembra riordinato, non nell'ordine di estrazione.")
                       .arg(ordinate)
                       .arg(estrazioni));
    return out;
}

} // namespace corpo
