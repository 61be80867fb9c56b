// What the command-line forms share: the saved system and the draw archive
// they read, and bad input said in one line that ends the run.
#pragma once

#include "gioco/sistema.h"
#include "gioco/verifica.h"

#include <QString>

namespace corpo {

struct ErroreRiga {
    QString messaggio; // one Italian line for standard error
};

// The saved system at path; throws ErroreRiga.
SystemRecord SistemaDaRiga(const QString& path);
// The archive in `file`, or the stored one when `file` is empty; throws
// ErroreRiga when it cannot be read or holds no draw.
Archivio ArchivioDaRiga(const QString& file);

} // namespace corpo
