// Amounts and roundings as every part of the program makes them.
#pragma once

#include <QString>
#include <climits>
#include <cmath>

namespace corpo {

// A float to an integer: the nearest, halves to the even neighbour (2.5 gives
// 2, 5.5 gives 6). Values beyond an int give its limit.
inline int RoundHalfEven(double value) {
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
// Whether an amount already is whole cents: 0,005 would show and print as
// 0,00 and be played as that.
inline bool CentesimiInteri(float v) { return AiCentesimi(double(v)) == v; }

} // namespace corpo
