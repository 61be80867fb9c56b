// The font metrics the expected positions are computed from: Liberation Mono
// (for "Courier New") advances 1229/2048 em and its line is 2320/2048 em;
// a Comic Neue (for "Comic Sans MS") line is 1.15 em.
#pragma once

#include <QtGlobal>

namespace expect {
inline double ptMm(double pt) {
    return pt * 25.4 / 72.0;
}
inline double monoAdvance(double pt) {
    return ptMm(pt) * 1229.0 / 2048.0;
}
inline double monoLine(double pt) {
    return ptMm(pt) * 2320.0 / 2048.0;
}
inline double comicLine(double pt) {
    return ptMm(pt) * 1.15;
}
// Positions are held to 0.001 mm unless metrics enter.
inline bool near(double a, double b, double tol = 0.001) {
    return qAbs(a - b) < tol;
}
} // namespace expect
