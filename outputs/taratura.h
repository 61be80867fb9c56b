// The slip calibration: where the cells of a pre-printed slip lie on the
// printer's page, kept in "printA.cfg" in the application folder.
#pragma once

#include "app/runerror.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

class QLocale;

namespace corpo {

inline constexpr int16_t QualitaNormale = 9999;

// Distances in millimetres on the printer page (origin at the paper's corner).
struct TaraturaAmbetto {
    float DistanzaX = 0;    // between two neighbouring number cells
    float DistanzaY = 0;    // between two rows of number cells
    float Top = 0;          // y of number cell 1
    float Left = 0;         // x of number cell 1, left edge of the text block
    float Intestazione = 0; // y of the first text line
    float Ximporti = 0;     // x of the amounts grid (derived before printing)
    float Yimporti = 0;     // y of the amounts grid (derived before printing)
    float DXimporti = 0;    // between two amount cells
    float DYimporti = 0;    // between two rows of amount cells
    int16_t Qualita = 0;    // kept as read: no printer setting follows it
    QString Stampante;      // device name of the slip printer
};

// The calibration the program ships in "printA.cfg", used when there is none
// to read: a fresh window starts from it.
TaraturaAmbetto TaraturaPredefinita();

// The nine distances in file order, for code that walks them all.
inline constexpr int TaraturaDistanze = 9;
float& Distanza(TaraturaAmbetto& t, int index);
float Distanza(const TaraturaAmbetto& t, int index);

inline constexpr int DimensioneRecordTaratura = 128;
inline constexpr int DimensioneFileTaratura = 11 * DimensioneRecordTaratura;
inline constexpr int LunghezzaMassimaStampante = 126;

// Eleven 128-byte records, one value at the start of each, the rest zero.
QByteArray CodificaTaratura(const TaraturaAmbetto& t);
// Any bytes decode: missing bytes read as zero, distances as stored, a
// quality not tagged as a 16-bit integer as 0, a name that does not fit its
// record or is cut by the end of the file as empty.
TaraturaAmbetto DecodificaTaratura(const QByteArray& bytes);

inline const QString NomeFileTaratura = QStringLiteral("printA.cfg");
QString PercorsoTaratura(); // in the application folder

// Every distance a number of MinimoBarra to 300 mm, as the window takes
// them (the amounts grid as far as the layout derives it from those).
bool TaraturaValida(const TaraturaAmbetto& t);

// Reads "printA.cfg" into t. On failure t keeps what it held and the user is
// told (the standard report naming LeggiTaraturaAmbetto, or one message for
// distances out of range); returns false then. An empty file, which would
// put every mark in the paper's corner, gives the shipped calibration, and
// the user is told so.
bool LeggiFileTaratura(TaraturaAmbetto& t);
// Writes the whole file without ever leaving it half-written.
bool ScriviFileTaratura(const TaraturaAmbetto& t, RunError* error);

// The layout the slips are drawn at: the amounts grid and the wheel column
// always keep the same offset from number cell 1.
struct LayoutSchedina {
    float XRuote = 0;
    float YRuote = 0;
    float PassoRuote = 0;
};
// Replaces t.Ximporti and t.Yimporti and returns the wheel column.
LayoutSchedina CalcolaLayout(TaraturaAmbetto& t);

// Scroll bars hold hundredths of a millimetre, 0 to 300 mm.
inline constexpr int BarraMinima = 0;
inline constexpr int BarraMassima = 30000;
// The least value of distance i: the distances between two cells are at
// least a mark wide (2 mm), or the marks would run into each other.
int MinimoBarra(int index);
// field × 100 to the nearest integer (halves to even), brought into range.
int BarraDaCampo(float field);
// The field in the locale's shortest form ("12,5", "10,12").
QString TestoCampo(float field, const QLocale& locale);
// A typed value in the locale's form; nullopt when it is not a number of
// minimum / 100 to 300 mm.
std::optional<int> BarraDaTesto(const QString& text, const QLocale& locale,
                                int minimum = BarraMinima);

} // namespace corpo
