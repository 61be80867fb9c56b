// The program's shared state: every global that more than one window reads
// lives here, for the whole run. Routines that work on it are declared in the
// folder of the subsystem they belong to.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

namespace corpo {

// The current system. Field order is also the order of the saved file.
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

// The colour of a number written on `fondo`: white on a dark colour, black
// otherwise. Screen and paper both follow it.
int32_t ColoreCifra(int32_t fondo);

inline const QString AppTitle = QStringLiteral("Bramasolovanti");

extern SystemRecord Sistema;
extern int32_t ColoreVorlacco;
extern int32_t ColoreCapogioco;
extern QString SceltaColore; // "VORLACCO", "CAPOGIOCO" or empty

extern QString Edizione;    // edition label, "Freeware"
extern QString PercorsoApp; // application folder, with one trailing separator

extern QString IntestazioneStampa; // print header
extern QString StampanteTabulato;  // the listing's printer
extern std::array<QString, 12> NomiRuote;

extern bool StopStampa; // the slip run's stop request

// A print job's title, naming its paper and the current system:
// "Bramasolovanti - Tabulato - prova"; without the system when it has no name.
QString TitoloLavoro(const QString& carta);

// The system's name as the player calls it: trimmed, without ".vrl".
QString NomeBreve();

// "major.minor.revision", as the project() line of CMakeLists.txt sets it
QString VersionString();

} // namespace corpo
