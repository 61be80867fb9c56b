// What goes on each play slip: the bet it plays, the grid of marked numbers
// and the stake split into the slip's denominations.
#pragma once

#include "gioco/scommesse.h"
#include "gioco/sistema.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace corpo {

inline constexpr int SchedaMinima = 1;
inline constexpr int SchedaMassima = NumeroGruppi; // a slip for each bet
inline constexpr int ColonneImporti = 13;
inline constexpr int RigheImporti = 5; // rows of the slip: 4 Estratto .. 0 Cinquina
inline constexpr int RigaEstratto = 4;

// Slip denominations from the left, largest first.
inline constexpr std::array<double, ColonneImporti> Tagli = {200, 100, 50,  20,  10,  5,   3,
                                                             2,   1,   0.5, 0.2, 0.1, 0.05};

// Cell n holds 'X' when number n is played; cell 0 is unused.
using GrigliaNumeri = std::array<char, NumeroMassimo + 1>;
// Index column × 5 + row.
using GrigliaImporti = std::array<bool, ColonneImporti * RigheImporti>;
using RuoteSegnate = std::array<bool, 14>;

GrigliaNumeri GrigliaNumeriVuota();
void SegnaNumeri(GrigliaNumeri& grid, std::span<const uint8_t> numbers);
// The stake split into denominations, each used at most once, largest first,
// the remainder brought to cents after each step; what is left under 0.05 is
// dropped. Marks go on a row still empty: every grid starts blank, each row is split once.
void ScomponiImporto(GrigliaImporti& grid, float stake, int row);
// What the slip marks for stake: short of it when the denominations, each
// used once, cannot make it up (0,40 is marked as 0,20 + 0,10 + 0,05).
float ImportoSegnato(float stake);
// Member k goes to row 3 - k (Ambo in row 3 ... Cinquina in row 0).
void ScomponiImporti(GrigliaImporti& grid, std::span<const float> stakes);

// The bet of slip 1..9, in group order; any other number is the Estratto's.
const Scommessa& ScommessaDiScheda(int slip);

struct ContenutoScheda {
    GrigliaNumeri numeri{};
    GrigliaImporti importi{};
    float totale = 0;
};
ContenutoScheda PreparaScheda(const SystemRecord& record, int slip);

// The range of slips to print; the first failing check, if any.
struct ErroreIntervallo {
    QString testo;
    QString titolo;
};
std::optional<ErroreIntervallo> ControllaIntervallo(int da, int a);
// A one-digit field's value; empty, or anything but a number, counts as 0.
int ValoreCampoScheda(const QString& text);

} // namespace corpo
