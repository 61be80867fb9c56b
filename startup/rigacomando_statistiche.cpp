#include "startup/rigacomando_statistiche.h"
#include "startup/rigacomando.h"

#include "app/fileio.h"
#include "gioco/statistiche.h"
#include "gioco/systemfile.h"
#include "winnings/archivio.h"

#include <QDir>
#include <cstdio>
#include <variant>

namespace corpo {

namespace {

// The wheel asked for, else the system's; "Tutte" is no single wheel: Bari.
int Ruota(const QString& chiesta, const SystemRecord& record) {
    const std::span<const QString> ruote = NomiRuote().first(NumeroRuote);
    if (chiesta.isNull())
        return IndiceRuota(record.Ruota, ruote).value_or(0);
    if (const std::optional<int> r = IndiceRuota(chiesta, ruote))
        return *r;
    QStringList nomi(ruote.begin(), ruote.end());
    throw ErroreRiga{QStringLiteral("La ruota %1 non esiste: scegli tra %2.")
                         .arg(chiesta, nomi.join(QStringLiteral(", ")))};
}

QString Tabella(const QStringList& arguments) {
    QString sistema, archivio, ruota, dal;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        QString* valore = a == QLatin1String("--archivio") ? &archivio
                          : a == QLatin1String("--ruota")  ? &ruota
                          : a == QLatin1String("--dal")    ? &dal
                                                           : nullptr;
        if (valore) {
            if (++i == arguments.size())
                throw ErroreRiga{QStringLiteral("Manca il valore dell'opzione %1.").arg(a)};
            *valore = arguments[i];
        } else if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            throw ErroreRiga{QStringLiteral("Opzione sconosciuta: %1.").arg(a)};
        } else if (!sistema.isEmpty()) {
            throw ErroreRiga{
                QStringLiteral("Si può indicare un solo sistema (di troppo: %1).").arg(a)};
        } else {
            sistema = a;
        }
    }
    if (sistema.isEmpty())
        throw ErroreRiga{
            QStringLiteral("Manca il sistema: bramasolovanti --statistiche SISTEMA.vrl "
                           "[--archivio FILE] [--ruota NOME] [--dal AAAA/MM/GG].")};
    QDate da;
    if (!dal.isNull()) {
        da = QDate::fromString(dal, QStringLiteral("yyyy/MM/dd"));
        if (!da.isValid())
            throw ErroreRiga{
                QStringLiteral("La data %1 non è valida: scrivila come aaaa/mm/gg.").arg(dal)};
    }
    const SystemRecord record = SistemaDaRiga(sistema);
    const int r = Ruota(ruota, record);
    const Statistiche s = CalcolaStatistiche(ArchivioDaRiga(archivio), record, r, da);
    QString out = QStringLiteral("numero\tritardo\tritardo_max\tfrequenza\n");
    for (const StatisticaNumero& n : s.numeri)
        out += n.numero == 0 ? QStringLiteral("0\t-\t-\t-\n")
                             : QStringLiteral("%1\t%2\t%3\t%4\n")
                                   .arg(n.numero)
                                   .arg(n.ritardo)
                                   .arg(n.ritardoMax)
                                   .arg(n.frequenza);
    return out;
}

} // namespace

int RigaComandoStatistiche(const QStringList& arguments) {
    try {
        std::fputs(Tabella(arguments).toUtf8().constData(), stdout);
        return 0;
    } catch (const ErroreRiga& e) {
        std::fputs((e.messaggio + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
        return 2;
    }
}

} // namespace corpo
