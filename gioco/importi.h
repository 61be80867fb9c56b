// Amounts and roundings as every part of the program makes them.
#pragma once

#include <QString>
#include <algorithm>
#include <climits>
#include <cmath>

namespace corpo {

// A float to an integer: the nearest, halves to the even neighbour (2.5 gives
// 2, 5.5 gives 6). Values beyond an int give its limit.
inline int ArrotondaPari(double value) {
    const double r = std::nearbyint(value);
    if (!(r > double(INT_MIN)))
        return INT_MIN;
    if (!(r < double(INT_MAX)))
        return INT_MAX;
    return int(r);
}

// An amount of euro kept to the cent the way it is shown: two decimals, read
// back, so that a sum of stakes equals the sum the player reads.
inline float AiCentesimi(double v) { return QString::number(v, 'f', 2).toFloat(); }
// An amount in whole cents, rounded as AiCentesimi rounds it, and as fast as
// a multiplication: only near a half cent can the product's own rounding tip
// the result, and there the decimal text decides.
inline qint64 Centesimi(double v) {
    constexpr double limit = 9e16; // a qint64 of cents holds any real sum; beyond, its limit
    const double c = std::clamp(v * 100, -limit, limit);
    const double r = std::nearbyint(c);
    if (std::fabs(std::fabs(c - r) - 0.5) < 1e-6)
        return std::llround(QString::number(v, 'f', 2).toDouble() * 100);
    return qint64(r);
}
// Whether an amount already is whole cents: 0,005 would show and print as
// 0,00 and be played as that.
inline bool CentesimiInteri(float v) { return AiCentesimi(double(v)) == v; }

} // namespace corpo
