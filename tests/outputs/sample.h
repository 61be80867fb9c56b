// The sample system the papers' tests and benchmarks print.
#pragma once

#include "app/corpo.h"

namespace corpo {

// Slip 1: 1 10 45 81 90 with Ambo 1, Terno 0.50, Cinquina 0.05; slip 9: 77
// with 7.50; every bet with its own stakes; head number 7; played on Napoli.
inline SystemRecord SistemaCompleto() {
    SystemRecord s;
    s.Ruota = QStringLiteral("Napoli    ");
    s.NomeSistema = QStringLiteral("Prova di stampa     ");
    s.Cinq1 = {1, 10, 45, 81, 90};
    s.ImpCinq1 = {1, 0.5f, 0, 0.05f};
    s.Cinq2 = {2, 13, 24, 35, 46};
    s.ImpCinq2 = {2, 1, 0.5f, 0.1f};
    s.Quad1 = {3, 14, 25, 36};
    s.ImpQuad1 = {1, 1, 0.2f};
    s.Quad2 = {4, 15, 26, 37};
    s.ImpQuad2 = {0.5f, 0.5f, 0.5f};
    s.Terz1 = {5, 16, 27};
    s.ImpTerz1 = {3, 2};
    s.Terz2 = {6, 17, 28};
    s.ImpTerz2 = {1, 1};
    s.Ambo1 = {7, 18};
    s.ImpAmbo1 = 4.9f;
    s.Ambo2 = {8, 19};
    s.ImpAmbo2 = 250;
    s.Estratto = 77;
    s.ImpEstratto = 7.5f;
    s.Capogioco = 7;
    s.ImportoSistema = 30;
    return s;
}

} // namespace corpo
