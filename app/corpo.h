// The program's shared state: every global that more than one window reads
// lives here, for the whole run. Routines that work on it are declared in the
// folder of the subsystem they belong to.
#pragma once

#include "gioco/sistema.h"

#include <QString>
#include <array>
#include <cstdint>

namespace corpo {

inline const QString AppTitle = QStringLiteral("Bramasolovanti");

extern SystemRecord Sistema;
extern int32_t ColoreVorlacco;
extern int32_t ColoreCapogioco;
extern QString SceltaColore; // "VORLACCO", "CAPOGIOCO" or empty

inline const QString Edizione = QStringLiteral("Freeware"); // the edition label

// What every paper prints from: the system, its colours and the print
// header of the settings.
struct DatiCarta {
    SystemRecord sistema;
    Colori colori;
    QString intestazione;
};

// A print job's title, naming its paper and the system:
// "Bramasolovanti - Tabulato - prova"; without the system when it has no name.
QString TitoloLavoro(const QString& carta, const SystemRecord& sistema);

// "major.minor.revision", as the project() line of CMakeLists.txt sets it
QString VersionString();

} // namespace corpo
