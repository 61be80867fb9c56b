// What the slip windows show beside their pictures.
#pragma once

#include <QString>

namespace corpo {
// What the foot notice picture says, its name for those who cannot see it.
inline const QString TestoVietato =
    QStringLiteral("Vietato ai minori di 18 anni. Il gioco può causare dipendenza patologica.");
} // namespace corpo
