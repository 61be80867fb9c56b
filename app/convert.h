// Colours between the program's 0x00BBGGRR and Qt's.
#pragma once

#include "gioco/importi.h"

#include <QColor>
#include <cstdint>

namespace corpo {

// The program's colours are 0x00BBGGRR (red in the low byte).
inline QColor ToQColor(int32_t colour) {
    const uint32_t c = uint32_t(colour);
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

inline int32_t FromQColor(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return int32_t(uint32_t(rgb.red()) | (uint32_t(rgb.green()) << 8) |
                   (uint32_t(rgb.blue()) << 16));
}

} // namespace corpo
