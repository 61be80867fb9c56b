// The system a player composes: the record that is saved, printed and checked.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

namespace corpo {

// A system. Field order is also the order of the saved file.
struct SystemRecord {
    QString Ruota = QString(10, QLatin1Char(' '));       // fixed 10 characters
    QString NomeSistema = QString(20, QLatin1Char(' ')); // fixed 20 characters
    float ImportoSistema = 0;
    std::array<uint8_t, 5> Cinq1{}, Cinq2{};
    std::array<uint8_t, 4> Quad1{}, Quad2{};
    std::array<uint8_t, 3> Terz1{}, Terz2{};
    std::array<uint8_t, 2> Ambo1{}, Ambo2{};
    uint8_t Estratto = 0;
    uint8_t Capogioco = 0;
    // Stakes: member k is the kind with k + 2 numbers (0 ambo ... 3 cinquina).
    std::array<float, 4> ImpCinq1{}, ImpCinq2{};
    std::array<float, 3> ImpQuad1{}, ImpQuad2{};
    std::array<float, 2> ImpTerz1{}, ImpTerz2{};
    float ImpAmbo1 = 0, ImpAmbo2 = 0, ImpEstratto = 0;
    // Winnings per hit, same member order as the stakes.
    std::array<float, 4> VinCinq1{}, VinCinq2{};
    std::array<float, 3> VinQuat1{}, VinQuat2{};
    std::array<float, 2> VinTerz1{}, VinTerz2{};
    float VinAmbo1 = 0, VinAmbo2 = 0, VinEstratto = 0;
};

// Colours are 0x00BBGGRR (red in the low byte).
constexpr int32_t ColoreVorlaccoPredefinito = 0x0080FFFF;
constexpr int32_t ColoreCapogiocoPredefinito = 255;

// A system's two colours, kept in its file.
struct Colori {
    int32_t vorlacco = ColoreVorlaccoPredefinito;
    int32_t capogioco = ColoreCapogiocoPredefinito;
};

// The colour of a number written on `fondo`: white on a dark colour, black
// otherwise. Screen and paper both follow it.
int32_t ColoreCifra(int32_t fondo);

// The system's name as the player calls it: trimmed, without ".vrl".
QString NomeBreve(const SystemRecord& record);

} // namespace corpo
