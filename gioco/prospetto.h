// What every bet of the system pays for every kind of hit. Pure arithmetic:
// the numbers, the head number and the wheel never change a winning, so none
// of them is an input here.
#pragma once

#include "gioco/scommesse.h"

#include <QLocale>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace corpo {

// The 21 stakes or the 21 winnings of a system, bet after bet in group order,
// each bet from its PrimoImporto (gioco/scommesse.h).
using Importi21 = std::array<float, NumeroImporti>;

// One bet's winnings, member by member: what it collects when exactly that
// many numbers are drawn and the member's kind is played. When every amount is
// a finite float, writes all of them and returns true; otherwise returns
// false and leaves the winnings as they were.
bool ProspettoScommessa(const Giocata& giocata, std::span<const float> imp, std::span<float> vin);

// One unit: the float stake times its factor, rounded to float; false when
// that is no finite float.
bool UnitaVincita(float stake, double factor, float& out);

// The winnings of all 21 stakes, or nothing when an amount overflows a float
// (or a stake is infinite or not a number).
std::optional<Importi21> CalcolaVincite(const Importi21& stakes);

// The stakes of a record in Importi21 order; its winnings from that order.
Importi21 ImportiDi(const SystemRecord& r);
void ImpostaVincite(SystemRecord& r, const Importi21& winnings);

// Recomputes a system's winnings from its stakes. On overflow returns false
// and leaves the record as it was.
bool CalcolaProspetto(SystemRecord& record);

// An amount of the prospect, the listing and the forecast sheet, "€ ###,##0.00":
// the euro sign, a blank, thousands always grouped and two decimals, with the
// marks of the given locale
// ("€ 319.600,00" in Italian, "€ 319,600.00" in English). A float amount
// shows as it is; a sum of wins is kept in double, exact to the cent.
QString FormatoVincita(double amount, const QLocale& locale = QLocale());
// The same amount as the messages write it, the sign after: "1,30 €".
QString FormatoEuro(double amount, const QLocale& locale = QLocale());
// The same amount without the euro sign: "319.600,00".
QString FormatoCifra(double amount, const QLocale& locale = QLocale());

// A number of the bunch, "##": its digits, or nothing for an empty place (0).
QString FormatoNumero(uint8_t number);

// A count inside an Italian message, thousands grouped: "1.485".
QString FormatoConteggio(qint64 n);
// A mean or a gap inside an Italian message, to `decimali` places: "434,6".
QString FormatoDecimale(double v, int decimali);

} // namespace corpo
