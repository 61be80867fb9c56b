// What goes on each play slip, and where: the grids of marked numbers and
// stake denominations, and the positions of the 2 mm marks on the page.
// Nothing here draws; the slip window hands the positions to the printer page.
#pragma once

#include "app/corpo.h"
#include "app/scommesse.h"
#include "outputs/taratura.h"

#include <QList>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class QLocale;

namespace corpo {

inline constexpr int SchedaMinima = 1;
inline constexpr int SchedaMassima = 9;
inline constexpr int ColonneImporti = 13;
inline constexpr int RigheImporti = 5;      // rows of the slip: 4 Estratto .. 0 Cinquina
inline constexpr int RigheImportiProva = 8; // rows the test print outlines
inline constexpr int RigaEstratto = 4;
inline constexpr float LatoCasella = 2.0f; // a mark is a 2 mm square

// Slip denominations from the left, largest first.
inline constexpr std::array<double, ColonneImporti> Tagli = {200, 100, 50,  20,  10,  5,   3,
                                                             2,   1,   0.5, 0.2, 0.1, 0.05};

// Cell n holds 'X' when number n is played; cell 0 is unused.
using GrigliaNumeri = std::array<char, 91>;
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

struct Punto {
    float x = 0;
    float y = 0;
};

// Top-left corners of the marks of one slip, in drawing order: numbers, wheel,
// amounts. Positions are accumulated by single-precision additions.
QList<Punto> CaselleScheda(const TaraturaAmbetto& t, const LayoutSchedina& l,
                           const ContenutoScheda& c, const RuoteSegnate& ruote);

// Every cell position of the calibration page: 90 numbers, 12 wheels, 8 rows
// of 13 amounts (206 in all), in that order.
QList<Punto> CaselleProva(const TaraturaAmbetto& t, const LayoutSchedina& l);
inline constexpr int CaselleNumeri = 90;
inline constexpr int CaselleRuote = 12;
inline constexpr int PrimaCasellaRuote = CaselleNumeri;
inline constexpr int PrimaCasellaImporti = CaselleNumeri + CaselleRuote;

// The text block of a slip, line by line.
QString RigaProdotto(); // "Bramasolovanti QRV", then " - " and the address when there is one
QString RigaImporto(float total, const QLocale& locale); // " € 1,55 -- "
QString RigaNumeroScheda(int slip);                      // "Scheda N. 1 -- "
QString EtichettaProgresso(int slip);                    // "Scheda n. 0003"

} // namespace corpo
