// What the slip windows show beside their pictures.
#pragma once

#include "app/places.h"

#include <QString>

namespace corpo {
// What the foot notice picture says, its name for those who cannot see it.
inline const QString TestoVietato =
    QStringLiteral("Vietato ai minori di 18 anni. Il gioco può causare dipendenza patologica.");

// The foot notice picture, in colour or in black and white, as named in the
// application folder.
inline QString FileVietato(bool colore = true) {
    return colore ? QStringLiteral("images/vietato.jpg") : QStringLiteral("images/vietatoBW.jpg");
}
// Where it is read from.
inline QString PercorsoVietato(bool colore = true) { return DataPath(FileVietato(colore)); }
} // namespace corpo
