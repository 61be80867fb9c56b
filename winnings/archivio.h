// The draw archive kept in the user's data folder, and its import.
#pragma once

#include "app/runerror.h"
#include "gioco/verifica.h"

#include <QString>
#include <optional>

namespace corpo {

// Where the imported archive is kept: the user's data folder.
QString PercorsoArchivio();
// The stored archive; an archive never imported is empty.
std::optional<Archivio> CaricaArchivio(RunError* error);

// Imports an archive file: its good lines join the stored archive (a draw of
// the same date and wheel is replaced), which is written whole or not at all.
// Lines of the stored archive that no longer read are kept in a dated copy.
struct EsitoImportazione {
    bool salvato = false;   // the stored archive changed
    bool avviso = false;    // something was refused or lost: the message warns
    bool invariato = false; // it held nothing new: the stored archive was left as it was
    int nuove = 0;          // dates the stored archive did not have
    Archivio archivio;      // the stored archive afterwards
    QString messaggio;      // what the player is told
};
EsitoImportazione ImportaArchivio(const QString& file);
// The same for an archive's bytes; `file` names them in the message.
EsitoImportazione ImportaTesto(const QByteArray& bytes, const QString& file);

} // namespace corpo
