#include "startup/rigacomando.h"

#include "app/fileio.h"
#include "gioco/systemfile.h"
#include "winnings/archivio.h"

#include <QDir>

namespace corpo {

namespace {
QString Nativo(const QString& path) { return QDir::toNativeSeparators(path); }
} // namespace

SystemRecord SistemaDaRiga(const QString& path) {
    RunError error;
    const std::optional<QByteArray> bytes = ReadSmallFile(path, SystemFileMaxBytes, &error);
    if (!bytes)
        throw ErroreRiga{QStringLiteral("Impossibile leggere il sistema %1 (%2).")
                             .arg(Nativo(path), error.description)};
    const auto decoded = DecodeSystemFile(*bytes);
    if (const SystemFileProblem* problem = std::get_if<SystemFileProblem>(&decoded))
        throw ErroreRiga{
            *problem == SystemFileProblem::Truncated
                ? QStringLiteral("Il sistema %1 è incompleto: è più corto di quanto "
                                 "indica la sua intestazione.")
                      .arg(Nativo(path))
                : QStringLiteral("Il file %1 non è un sistema salvato (.vrl).").arg(Nativo(path))};
    return std::get<LoadedSystem>(decoded).record;
}

Archivio ArchivioDaRiga(const QString& file) {
    if (file.isEmpty()) { // the one the Verifica window imported
        RunError error;
        std::optional<Archivio> stored = CaricaArchivio(&error);
        if (!stored)
            throw ErroreRiga{
                QStringLiteral("Impossibile leggere l'archivio delle estrazioni %1 (%2).")
                    .arg(Nativo(PercorsoArchivio()), error.description)};
        if (stored->estrazioni.empty())
            throw ErroreRiga{
                QStringLiteral("Nessun archivio delle estrazioni: importalo dalla "
                               "finestra Verifica, o indica un file con --archivio FILE.")};
        return std::move(*stored);
    }
    RunError error;
    const std::optional<QByteArray> bytes = ReadSmallFile(file, ArchivioMassimo, &error);
    if (!bytes)
        throw ErroreRiga{QStringLiteral("Impossibile leggere l'archivio %1 (%2).")
                             .arg(Nativo(file), error.description)};
    LetturaArchivio lettura = LeggiArchivio(*bytes);
    if (lettura.archivio.estrazioni.empty())
        throw ErroreRiga{
            QStringLiteral("Il file %1 non è un archivio delle estrazioni: nessuna riga "
                           "ha la data (aaaa/mm/gg), la sigla della ruota e cinque "
                           "numeri da 1 a 90.")
                .arg(Nativo(file))};
    return std::move(lettura.archivio);
}

} // namespace corpo
