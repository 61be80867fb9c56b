#include "entry/documento.h"

#include "app/fileio.h"
#include "gioco/systemfile.h"

#include <QDir>

namespace corpo {

namespace {
const QString Errore = QStringLiteral("E R R O R E");
}

std::optional<QString> SalvaDocumento(const Documento& documento, const QString& path) {
    // The whole file is built first and then replaces any earlier one in a
    // single step, so a failure never leaves a half-written system behind.
    const QByteArray bytes =
        EncodeSystemFile(documento.sistema, documento.colori.vorlacco, documento.colori.capogioco);
    RunError error;
    if (WriteFileAtomically(path, bytes, &error))
        return std::nullopt;
    return QStringLiteral("Il sistema non è stato salvato in\r\n%1\r\n(%2).")
        .arg(QDir::toNativeSeparators(path), error.description);
}

std::variant<Documento, ErroreApertura> ApriDocumento(const QString& path) {
    RunError error;
    const std::optional<QByteArray> bytes = ReadSmallFile(path, SystemFileMaxBytes, &error);
    if (!bytes)
        return ErroreApertura{QStringLiteral("Impossibile leggere il file\r\n%1\r\n(%2).")
                                  .arg(QDir::toNativeSeparators(path), error.description),
                              Errore};
    const auto decoded = DecodeSystemFile(*bytes);
    if (const SystemFileProblem* problem = std::get_if<SystemFileProblem>(&decoded)) {
        if (*problem != SystemFileProblem::Truncated)
            return ErroreApertura{QStringLiteral("Questo file non puo' essere letto"), Errore};
        return ErroreApertura{QStringLiteral("Il file è incompleto: è più corto di quanto indica "
                                             "la sua intestazione.\r\nIl sistema corrente non è "
                                             "stato modificato."),
                              Errore};
    }
    const LoadedSystem& loaded = std::get<LoadedSystem>(decoded);
    Documento out;
    out.sistema = loaded.record;
    if (loaded.hasColours)
        out.colori = {loaded.coloreVorlacco, loaded.coloreCapogioco};
    out.file = path;
    return out;
}

} // namespace corpo
