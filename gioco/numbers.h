// What the main window computes without any window: reading decimal text,
// the stake notation, the nine bets and their check, the head number, the
// random fill, the stake presets and the colour encoding.
#pragma once

#include "gioco/importi.h"
#include "gioco/scommesse.h"
#include "gioco/sistema.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>

namespace corpo {

// The numeric value of decimal text: leading blanks skipped, an optional sign,
// digits with an optional "." fraction and exponent, read up to the first
// character that does not fit; no digits give 0.
double Val(const QString& text);

// Stake fields show "#0.00" and the total "##0.00": at least one digit before
// the comma, exactly two after, rounded, no grouping. The comma is the
// notation of the fields, whatever the locale.
QString FormatStake(float value);
QString FormatTotal(float value);

// A stake field's text: digits with at most one decimal mark ("1,5", ",5",
// "7"); a full stop is a decimal mark as the comma is, since the keypad's
// decimal key gives one or the other by layout. Text that is not such a
// number (empty, only a mark, two marks) counts 0.
float ParseStake(const QString& text);
// The field's own notation: a full stop becomes the comma.
QString StakeNotation(QString text);

// The game takes at most 200 euro on one kind of hit; "200,00" is also the
// longest text a stake field holds.
inline constexpr float MaxStake = 200.0f;
inline constexpr int StakeMaxLength = 6;
// Whether a stake being typed fits its field whole: at most StakeMaxLength
// characters, one comma, two decimals and MaxStake.
bool StakeFits(const QString& text);
// Whether a field can hold the text: a number field two digits or blanks, a
// stake field a stake that fits.
bool FieldAccepts(const QString& text, bool stake);

// The order in which the stakes are read, written and summed: the two bets of
// a kind index by index (first, then second), then the ambi and the estratto.
struct StakeSlot {
    int group;
    int index;
};
const std::array<StakeSlot, NumeroImporti>& StakeOrder();
// The number fields in the same order: kind after kind, position by
// position, each bet of the kind in turn; the Estratto last.
const std::array<StakeSlot, NumeroNumeri>& NumberOrder();

// The system's total: the 21 stakes summed in StakeOrder (SommaImporti).
float SystemTotal(const SystemRecord& record);

// The numeric values of the 29 number fields, [group][position].
using Cluster = std::array<std::array<int, 5>, NumeroGruppi>;

// The outcome of the check of a complete system: on failure, the message to
// show and the field that gets the focus.
struct Verdict {
    bool ok = true;
    QString message;
    int group = -1;
    int position = -1;
};
// Checks completeness group by group, then the estratto, then repeated numbers
// within each group; stores every number it passed into the record, so a
// failure leaves the earlier groups stored and the later ones as they were.
Verdict CheckCluster(const Cluster& values, SystemRecord& record);

// The answer to the head-number input box.
struct HeadNumberAnswer {
    enum Kind { Cancelled, OutOfRange, Accepted } kind = Cancelled;
    int value = 0;
};
HeadNumberAnswer ParseHeadNumber(const QString& answer);

// A uniform draw in [0, 1) from Qt's generator, which Qt seeds.
double Rnd();

// A random colour 0..0xFFFFFF from a uniform draw in [0, 1).
int32_t RandomColour(double draw);

// The random fill: 28 different numbers for the first eight bets, none equal
// to the head number, then a free draw for the estratto. draw() is uniform in
// [0, 1). The head number itself is put back afterwards by the window.
Cluster RandomCluster(int capogioco, const std::function<double()>& draw);

// Fills the 21 stakes of the 10 or 20 euro system.
enum class Preset { Euro10, Euro20 };
void ApplyPreset(SystemRecord& record, Preset preset);

} // namespace corpo
