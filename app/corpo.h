// What every window and paper shares: the program's name and edition, the
// inputs of a paper and the title of a print job.
#pragma once

#include "gioco/sistema.h"

#include <QString>
#include <array>
#include <cstdint>

namespace corpo {

inline const QString TitoloProgramma = QStringLiteral("Bramasolovanti");
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
QString StringaVersione();

} // namespace corpo
