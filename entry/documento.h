// The system the main window works on, as a document: the record, its
// colours, the file it came from or went to, and whether the player changed
// it since. Opening and saving say what went wrong instead of showing it.
#pragma once

#include "gioco/sistema.h"

#include <QString>
#include <optional>
#include <variant>

namespace corpo {

struct Documento {
    SystemRecord sistema;
    Colori colori;
    QString file;            // where it was last opened or saved; empty for a new one
    bool modificato = false; // changed by the player since
};

// Writes the system with its colours to `path`, whole or not at all: the
// message to show when it could not be written.
std::optional<QString> SalvaDocumento(const Documento& documento, const QString& path);

// Reads a saved system: the document it holds (colours as saved, or the
// defaults of a file that has none), or the message to show and its title.
struct ErroreApertura {
    QString testo;
    QString titolo;
};
std::variant<Documento, ErroreApertura> ApriDocumento(const QString& path);

} // namespace corpo
