// The page's units and its properties: the state every paper sets before it
// draws, and every job starts from.
#pragma once

#include <QString>
#include <cstdint>

namespace corpo {

// Units of ScaleMode and of ScaleX / ScaleY.
namespace scale {
inline constexpr int Pixels = 3; // the page's device pixel, 1/600 inch
inline constexpr int Millimeters = 6;

inline constexpr double MmPerInch = 25.4;
} // namespace scale

// The page's device pixel: outlines (DrawWidth), PrintRotatedText and
// TwipsPerPixelY all count in it, whatever the back end really renders at.
inline constexpr int PageDpi = 600;
// Everything is drawn and measured at this resolution, where every font size
// the papers use (whole or half points) is a whole number of pixels.
inline constexpr int RenderDpi = 7200;

// The page's properties with the values every job starts from: each routine
// sets them directly, and EndDoc and KillDoc put them all back.
struct PageProperties {
    int ScaleMode = scale::Millimeters;
    double CurrentX = 0, CurrentY = 0;
    QString FontName = QStringLiteral("Courier New");
    double FontSize = 10;
    bool FontBold = false;
    bool FontItalic = false;
    bool FontUnderline = false;
    bool FontTransparent = true;
    int32_t ForeColor = 0;
    int FillStyle = 1; // 0 filled, 1 unfilled
    int32_t FillColor = 0;
    int DrawWidth = 1; // page device pixels
    // The job's title in the print queue (and the PDF's title); read at EndDoc.
    QString DocName = QStringLiteral("Bramasolovanti");
};

// The properties as every job starts with them.
const PageProperties& PageDefaults();

} // namespace corpo
