#include "startup/rigacomando_statistiche.h"

#include "app/fileio.h"
#include "gioco/statistiche.h"
#include "gioco/systemfile.h"
#include "winnings/archivio.h"

#include <QDir>
#include <cstdio>
#include <variant>

namespace corpo {

namespace {

struct Errore {
    QString testo;
};

QString Nativo(const QString& path) { return QDir::toNativeSeparators(path); }

SystemRecord LeggiSistema(const QString& file) {
    RunError e;
    const std::optional<QByteArray> bytes = ReadSmallFile(file, SystemFileMaxBytes, &e);
    if (!bytes)
        throw Errore{e.number == err::PathFileAccess
                         ? QStringLiteral("%1 non è un sistema salvato.").arg(Nativo(file))
                         : QStringLiteral("Il sistema %1 non si può leggere (%2).")
                               .arg(Nativo(file), e.description)};
    const auto decoded = DecodeSystemFile(*bytes);
    if (const auto* loaded = std::get_if<LoadedSystem>(&decoded))
        return loaded->record;
    throw Errore{QStringLiteral("%1 non è un sistema salvato.").arg(Nativo(file))};
}

Archivio LeggiArchivioDa(const QString& file) {
    RunError e;
    if (file.isEmpty()) {
        std::optional<Archivio> stored = CaricaArchivio(&e);
        if (!stored)
            throw Errore{QStringLiteral("L'archivio delle estrazioni non si può leggere (%1).")
                             .arg(e.description)};
        if (stored->estrazioni.empty())
            throw Errore{QStringLiteral("Nessun archivio delle estrazioni: importalo da "
                                        "Verifica, o indica il file con --archivio FILE.")};
        return std::move(*stored);
    }
    const std::optional<QByteArray> bytes = ReadSmallFile(file, ArchivioMassimo, &e);
    if (!bytes)
        throw Errore{QStringLiteral("L'archivio %1 non si può leggere (%2).")
                         .arg(Nativo(file), e.description)};
    LetturaArchivio lettura = LeggiArchivio(*bytes);
    if (lettura.archivio.estrazioni.empty())
        throw Errore{QStringLiteral("Il file %1 non contiene estrazioni.").arg(Nativo(file))};
    return std::move(lettura.archivio);
}

// The wheel asked for, else the system's; "Tutte" is no single wheel: Bari.
int Ruota(const QString& chiesta, const SystemRecord& record) {
    const std::span<const QString> ruote = NomiRuote().first(NumRuote);
    if (chiesta.isNull())
        return IndiceRuota(record.Ruota, ruote).value_or(0);
    if (const std::optional<int> r = IndiceRuota(chiesta, ruote))
        return *r;
    QStringList nomi(ruote.begin(), ruote.end());
    throw Errore{QStringLiteral("La ruota %1 non esiste: scegli tra %2.")
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
                throw Errore{QStringLiteral("Manca il valore dell'opzione %1.").arg(a)};
            *valore = arguments[i];
        } else if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            throw Errore{QStringLiteral("Opzione sconosciuta: %1.").arg(a)};
        } else if (!sistema.isEmpty()) {
            throw Errore{QStringLiteral("Si può indicare un solo sistema (di troppo: %1).").arg(a)};
        } else {
            sistema = a;
        }
    }
    if (sistema.isEmpty())
        throw Errore{QStringLiteral("Manca il sistema: bramasolovanti --statistiche SISTEMA.vrl "
                                    "[--archivio FILE] [--ruota NOME] [--dal AAAA/MM/GG].")};
    QDate da;
    if (!dal.isNull()) {
        da = QDate::fromString(dal, QStringLiteral("yyyy/MM/dd"));
        if (!da.isValid())
            throw Errore{
                QStringLiteral("La data %1 non è valida: scrivila come aaaa/mm/gg.").arg(dal)};
    }
    const SystemRecord record = LeggiSistema(sistema);
    const int r = Ruota(ruota, record);
    const Statistiche s = CalcolaStatistiche(LeggiArchivioDa(archivio), record, r, da);
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
    } catch (const Errore& e) {
        std::fputs((e.testo + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
        return 2;
    }
}

} // namespace corpo
