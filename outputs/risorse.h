// The pictures of the slip windows, compiled into the program.
#pragma once

#include <QString>

namespace corpo {
// Makes ":/schedine/..." available; call before building a slip window.
void InizializzaRisorseSchedine();

// What the foot notice picture says, its name for those who cannot see it.
inline const QString TestoVietato =
    QStringLiteral("Vietato ai minori di 18 anni. Il gioco può causare dipendenza patologica.");
} // namespace corpo
