// The game's wheels: one table for the wheel box, the slips and the draw check.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <span>

namespace corpo {

struct Ruota {
    const char* codice; // as the archive writes it: "BA"
    const char* nome;   // as the player reads it: "Bari"
};

// The wheels in the order of the slip's wheel column and of the archive's
// columns: the ten city wheels, then the Nazionale.
inline constexpr int NumeroRuote = 11;
inline constexpr int RuoteCitta = 10; // what "Tutte" plays
inline constexpr std::array<Ruota, NumeroRuote> Ruote = {{
    {"BA", "Bari"},
    {"CA", "Cagliari"},
    {"FI", "Firenze"},
    {"GE", "Genova"},
    {"MI", "Milano"},
    {"NA", "Napoli"},
    {"PA", "Palermo"},
    {"RM", "Roma"},
    {"TO", "Torino"},
    {"VE", "Venezia"},
    {"RN", "Nazionale"},
}};
// The ten city wheels at once; the slip's wheel column marks it after the Nazionale.
inline constexpr const char* NomeTutte = "Tutte";
inline constexpr int PostiRuote = 12; // places in the wheel column and in the wheel box

QString CodiceRuota(int ruota); // "BA" ... "RN"
QString NomeRuota(int ruota);   // "Bari" ... "Nazionale"
// The wheel column's names: the eleven wheels, then "Tutte".
std::span<const QString> NomiRuote();

// The place in nomi of the first wheel whose name, trimmed, is ruota trimmed,
// whatever the case; none for a blank ruota, even where nomi has a blank place.
std::optional<int> IndiceRuota(const QString& ruota, std::span<const QString> nomi);

// Whether the system's wheel is "Tutte", whatever its case and blanks.
bool Tutte(const QString& ruota);
// The wheels a system's wheel checks: one, the ten cities for "Tutte", none
// for a name the game does not know.
QList<int> RuoteDaVerificare(const QString& ruota);
// Each win on "Tutte" is shared out over the ten wheels it is played on.
int DivisoreVincite(const QString& ruota);

// Wheel names of a "ruote.vrc" text: fields split at commas and line ends,
// blanks around a field dropped, double-quoted fields may hold commas.
QStringList LeggiRuote(const QString& text);

} // namespace corpo
