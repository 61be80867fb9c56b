// What every bet of the system pays for every kind of hit. Pure arithmetic:
// the numbers, the head number and the wheel never change a winning, so none
// of them is an input here.
#pragma once

#include "app/messages.h"

#include <QLocale>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace corpo {

struct SystemRecord;

// The 21 stakes or the 21 winnings of a system, bet after bet in the order the
// program walks them: Cinquina 1 (4), Cinquina 2 (4), Quaterna 1 (3),
// Quaterna 2 (3), Terno 1 (2), Terno 2 (2), Ambo 1, Ambo 2, Estratto. Within a
// bet, member k is the kind with k + 2 numbers (0 ambo ... 3 cinquina).
using Importi21 = std::array<float, 21>;

// Where each bet starts in an Importi21.
namespace pos {
inline constexpr int Cinq1 = 0, Cinq2 = 4, Quad1 = 8, Quad2 = 11, Terz1 = 14, Terz2 = 16,
                     Ambo1 = 18, Ambo2 = 19, Estratto = 20;
}

// Per-bet winnings. Each reads the bet's stakes and, when every amount is a
// finite float, writes all of the bet's winnings and returns true; otherwise it
// returns false and leaves the winnings as they were.
bool ProspettoCinquina(const std::array<float, 4>& imp, std::array<float, 4>& vin);
bool ProspettoQuaterna(const std::array<float, 3>& imp, std::array<float, 3>& vin);
bool ProspettoTerno(const std::array<float, 2>& imp, std::array<float, 2>& vin);
bool ProspettoAmbo(const float& imp, float& vin);
bool ProspettoEstratto(const float& imp, float& vin);

// The winnings of all 21 stakes, or nothing when an amount overflows a float
// (or a stake is infinite or not a number).
std::optional<Importi21> CalcolaVincite(const Importi21& stakes);

// The stakes of a record, and its winnings, in Importi21 order.
Importi21 StakesOf(const SystemRecord& r);
Importi21 WinningsOf(const SystemRecord& r);
void SetWinnings(SystemRecord& r, const Importi21& winnings);

// Recomputes the winnings of the current system (Sistema) from its stakes.
// On overflow returns false with error Overflow and leaves the record as it was.
bool CalcolaProspetto(RunError* error = nullptr);

// An amount of the prospect, "€ ###,##0.00": the euro sign, a blank, thousands
// always grouped and two decimals, with the marks of the given locale
// ("€ 319.600,00" in Italian, "€ 319,600.00" in English).
QString FormatoVincita(float amount, const QLocale& locale = QLocale());
// The same amount without the euro sign: "319.600,00".
QString FormatoCifra(float amount, const QLocale& locale = QLocale());

// A number of the bunch, "##": its digits, or nothing for an empty place (0).
QString FormatoNumero(uint8_t number);

// The kind of hit of member k of bet `gruppo`'s stakes or winnings, as a
// screen reader says it: "ambo" ... "cinquina", and "estratto" for the Estratto.
QString NomeSorte(int gruppo, int k);

} // namespace corpo
