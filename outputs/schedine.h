// Where each play slip's marks go: the positions of the 2 mm marks on the
// page, and the slip's text block.
// Nothing here draws; the slip window hands the positions to the printer page.
#pragma once

#include "gioco/schedina.h"
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

inline constexpr int RigheImportiProva = 8; // rows the test print outlines
inline constexpr float LatoCasella = 2.0f;  // a mark is a 2 mm square

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
inline constexpr int CaselleNumeri = NumeroMassimo;
inline constexpr int CaselleRuote = 12;
inline constexpr int PrimaCasellaRuote = CaselleNumeri;
inline constexpr int PrimaCasellaImporti = CaselleNumeri + CaselleRuote;

// The text block of a slip, line by line.
QString RigaProdotto(); // "Bramasolovanti QRV", then " - " and the address when there is one
QString RigaImporto(float total, const QLocale& locale); // " € 1,55 -- "
QString RigaNumeroScheda(int slip);                      // "Scheda N. 1 -- "
QString EtichettaProgresso(int slip);                    // "Scheda n. 0003"

} // namespace corpo
