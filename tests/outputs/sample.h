// The sample system the papers' tests and benchmarks print.
#pragma once

#include "app/corpo.h"

namespace corpo {

// Slip 1: 1 10 45 81 90 with Ambo 1, Terno 0.50, Cinquina 0.05; slip 9: 77
// with 7.50; every bet with its own stakes; head number 7; played on Napoli.
inline SystemRecord SistemaCompleto() {
    // clang-format off
    return {.Ruota = QStringLiteral("Napoli    "),
            .NomeSistema = QStringLiteral("Prova di stampa     "), .ImportoSistema = 30,
            .Cinq1 = {1, 10, 45, 81, 90}, .Cinq2 = {2, 13, 24, 35, 46}, .Quad1 = {3, 14, 25, 36},
            .Quad2 = {4, 15, 26, 37}, .Terz1 = {5, 16, 27}, .Terz2 = {6, 17, 28}, .Ambo1 = {7, 18},
            .Ambo2 = {8, 19}, .Estratto = 77, .Capogioco = 7,
            .ImpCinq1 = {1, 0.5f, 0, 0.05f}, .ImpCinq2 = {2, 1, 0.5f, 0.1f},
            .ImpQuad1 = {1, 1, 0.2f}, .ImpQuad2 = {0.5f, 0.5f, 0.5f}, .ImpTerz1 = {3, 2},
            .ImpTerz2 = {1, 1}, .ImpAmbo1 = 4.9f, .ImpAmbo2 = 250, .ImpEstratto = 7.5f};
    // clang-format on
}

} // namespace corpo
