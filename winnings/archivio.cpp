#include "winnings/archivio.h"

#include "app/fileio.h"
#include "gioco/prospetto.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace corpo {

namespace {

QString Nativo(const QString& path) { return QDir::toNativeSeparators(path); }

// "Importate 3 estrazioni, dal 02/01/2024 al 04/01/2024."
QString Importate(const Archivio& a) {
    const int n = a.Righe();
    const QString quando =
        a.Prima() == a.Ultima()
            ? QStringLiteral("del %1").arg(FormatoData(a.Prima()))
            : QStringLiteral("dal %1 al %2").arg(FormatoData(a.Prima()), FormatoData(a.Ultima()));
    return n == 1 ? QStringLiteral("Importata 1 estrazione, %1.").arg(quando)
                  : QStringLiteral("Importate %1 estrazioni, %2.").arg(FormatoConteggio(n), quando);
}

QString RigheScartate(const LetturaArchivio& lettura) {
    QString text = QStringLiteral("Alcune righe del file non sono state lette:\n");
    for (const auto& [riga, perche] : lettura.scartate)
        text += QStringLiteral("\nla riga %1 %2").arg(FormatoConteggio(riga), perche);
    const int altre = lettura.righeScartate - int(lettura.scartate.size());
    if (altre > 0)
        text += altre == 1 ? QStringLiteral("\n... e un'altra riga")
                           : QStringLiteral("\n... e altre %1 righe").arg(FormatoConteggio(altre));
    return text;
}

// The stored archive read, with the lines that no longer read counted, and its bytes.
struct ArchivioSalvato : LetturaArchivio {
    QByteArray testo;
};
std::optional<ArchivioSalvato> LeggiArchivioSalvato(RunError* error) {
    RunError e;
    const std::optional<QByteArray> bytes = ReadSmallFile(PercorsoArchivio(), ArchivioMassimo, &e);
    if (bytes) {
        ArchivioSalvato salvato{LeggiArchivio(*bytes), *bytes};
        return salvato;
    }
    if (e.number == err::FileNotFound || e.number == err::PathNotFound) // never imported
        return ArchivioSalvato{};
    if (error)
        *error = e;
    return std::nullopt;
}

} // namespace

QString PercorsoArchivio() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/estrazioni.txt");
}

std::optional<Archivio> CaricaArchivio(RunError* error) {
    std::optional<ArchivioSalvato> lettura = LeggiArchivioSalvato(error);
    if (!lettura)
        return std::nullopt;
    return std::move(lettura->archivio);
}

EsitoImportazione ImportaArchivio(const QString& file) {
    RunError readError;
    const std::optional<QByteArray> bytes = ReadSmallFile(file, ArchivioMassimo, &readError);
    if (bytes)
        return ImportaTesto(*bytes, Nativo(file));
    EsitoImportazione out;
    out.avviso = true;
    // Only to word the message: what was read is judged by ReadSmallFile.
    const QFileInfo info(file);
    if (readError.number != err::PathFileAccess)
        out.messaggio = QStringLiteral("Il file %1 non si può leggere (%2).")
                            .arg(Nativo(file), readError.description);
    else if (info.isFile())
        out.messaggio = QStringLiteral("Il file %1 è troppo grande per un archivio "
                                       "delle estrazioni (al massimo %2 MB).")
                            .arg(Nativo(file), FormatoConteggio(ArchivioMassimo >> 20));
    else
        out.messaggio = QStringLiteral("%1 non è un file: scegli il file dell'archivio "
                                       "delle estrazioni.")
                            .arg(Nativo(file));
    return out;
}

EsitoImportazione ImportaTesto(const QByteArray& bytes, const QString& file) {
    EsitoImportazione out;
    out.avviso = true;
    RunError error;
    std::optional<ArchivioSalvato> stored = LeggiArchivioSalvato(&error);
    if (stored)
        out.archivio = std::move(stored->archivio);
    // A first import is most often the operator's file, which is already in
    // the stored form: it is written while it is checked, and put in place
    // only if the check finds it so.
    std::optional<BackgroundWrite> scrittura;
    if (stored && out.archivio.estrazioni.empty() && stored->righeScartate == 0 &&
        bytes.endsWith('\n') && QDir().mkpath(QFileInfo(PercorsoArchivio()).absolutePath()))
        scrittura.emplace(PercorsoArchivio(), bytes);
    LetturaArchivio lettura = LeggiArchivio(bytes);
    if (lettura.righe == 0) {
        out.messaggio = QStringLiteral("Il file %1 è vuoto: nessuna estrazione letta.").arg(file);
        return out;
    }
    if (lettura.archivio.estrazioni.empty()) {
        out.messaggio = QStringLiteral("Il file %1 non è un archivio delle estrazioni: nessuna "
                                       "delle sue %2 righe ha la data (aaaa/mm/gg), la sigla "
                                       "della ruota e cinque numeri da 1 a 90.")
                            .arg(file, FormatoConteggio(lettura.righe));
        return out;
    }
    out.messaggio = Importate(lettura.archivio);
    out.avviso = lettura.righeScartate > 0;
    if (out.avviso)
        out.messaggio += QStringLiteral("\n\n") + RigheScartate(lettura);
    const auto annullata = [&out](const QString& why) {
        out.messaggio = why + QStringLiteral(": l'importazione è annullata.");
        out.avviso = true;
        return out;
    };
    // Writing over an archive we could not read would lose it. One too big
    // or no file at all (an older copy's) is moved aside; other failures stop.
    const bool daSpostare = !stored && error.number == err::PathFileAccess;
    if (!stored && !daSpostare)
        return annullata(
            QStringLiteral("L'archivio salvato non si può leggere (%1)").arg(error.description));
    for (const auto& [data, ruote] : lettura.archivio.estrazioni)
        out.nuove += !out.archivio.estrazioni.contains(data);
    Archivio merged;
    const bool comeArrivato = out.archivio.estrazioni.empty() && lettura.scritta;
    if (out.archivio.estrazioni.empty()) { // the first import: nothing to merge with
        merged = std::move(lettura.archivio);
    } else {
        merged = out.archivio;
        UnisciArchivi(merged, lettura.archivio);
    }
    const QByteArray text = comeArrivato ? bytes : ScriviArchivio(merged);
    if (!comeArrivato)
        scrittura.reset();
    // Nothing new and nothing to mend: the stored archive stays as it is.
    if (stored && stored->righeScartate == 0 && stored->testo == text) {
        out.invariato = true;
        return out;
    }
    // What is written must read back.
    if (text.size() > ArchivioMassimo)
        return annullata(QStringLiteral("Con queste estrazioni l'archivio supererebbe i %1 MB")
                             .arg(FormatoConteggio(ArchivioMassimo >> 20)));
    QDir().mkpath(QFileInfo(PercorsoArchivio()).absolutePath());
    const QString copia =
        PercorsoArchivio().chopped(4) +
        QDateTime::currentDateTime().toString(QStringLiteral("-yyyy-MM-dd-hhmmss")) +
        QStringLiteral(".txt");
    if (daSpostare) {
        if (!QFile::rename(PercorsoArchivio(), copia))
            return annullata(QStringLiteral("L'archivio salvato non si può leggere (%1) né "
                                            "spostare in %2")
                                 .arg(error.description, Nativo(copia)));
        out.messaggio += QStringLiteral("\n\nL'archivio salvato non si poteva leggere (%1): "
                                        "ora è in %2, e il nuovo archivio ha solo le "
                                        "estrazioni importate.")
                             .arg(error.description, Nativo(copia));
        out.avviso = true;
    } else if (stored->righeScartate > 0) {
        // Lines of the stored archive that no longer read are not written
        // again: the old file stays whole beside it, under the day's date.
        const std::optional<QByteArray> old =
            ReadSmallFile(PercorsoArchivio(), ArchivioMassimo, &error);
        if (!old || !WriteFileAtomically(copia, *old, &error))
            return annullata(QStringLiteral("Non si può salvare una copia dell'archivio in %1 "
                                            "(%2)")
                                 .arg(Nativo(copia), error.description));
        const int n = stored->righeScartate;
        const QString righe =
            n == 1 ? QStringLiteral("una riga che non si legge più: il nuovo archivio non la "
                                    "riporta, la copia %1 la conserva.")
                         .arg(Nativo(copia))
                   : QStringLiteral("%1 righe che non si leggono più: il nuovo archivio non le "
                                    "riporta, la copia %2 le conserva.")
                         .arg(FormatoConteggio(n), Nativo(copia));
        out.messaggio += QStringLiteral("\n\nL'archivio salvato aveva ") + righe;
        out.avviso = true;
    }
    if (scrittura ? !scrittura->Commit(&error)
                  : !WriteFileAtomically(PercorsoArchivio(), text, &error)) {
        if (daSpostare) // back where it was
            QFile::rename(copia, PercorsoArchivio());
        return annullata(QStringLiteral("L'archivio non si può salvare in %1 (%2)")
                             .arg(Nativo(PercorsoArchivio()), error.description));
    }
    out.archivio = std::move(merged);
    out.salvato = true;
    return out;
}

} // namespace corpo
