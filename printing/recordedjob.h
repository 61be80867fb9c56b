// A job as the recorder keeps it: every drawing operation with its font,
// colours and position, in millimetres, and a readable description of it.
#pragma once

#include "printing/pagepicture.h"
#include "printing/pageproperties.h"
#include "printing/pagerender.h"

#include <QHash>
#include <QList>
#include <QString>
#include <cstdint>

namespace corpo {

// One drawing operation as the recorder keeps it. Positions in millimetres
// from the paper's top-left corner, whatever ScaleMode was.
struct PageOp {
    enum Kind { Text, RotatedText, Circle, Line, Box, Picture };
    Kind kind = Text;
    int page = 1; // sheet of the job, from 1

    // Text: top-left corner; RotatedText: the reference (top-left) corner;
    // Circle: centre; Line/Box: first point; Picture: top-left corner.
    double x = 0, y = 0;
    double x2 = 0, y2 = 0;        // Line/Box: second point
    double width = 0, height = 0; // Text: advance and line height; Picture: size drawn
    double radius = 0;            // Circle

    QString text;          // Text and RotatedText; Picture: the file it came from
    bool metafile = false; // Picture: a metafile rather than an image

    // The page state the operation was drawn with (a fresh page's when made
    // by hand).
    QString fontName = PageDefaults().FontName;
    double fontSize = PageDefaults().FontSize;
    bool bold = PageDefaults().FontBold;
    bool italic = PageDefaults().FontItalic;
    bool underline = PageDefaults().FontUnderline;
    bool transparent = PageDefaults().FontTransparent;
    // Text colour; for shapes the outline colour given.
    int32_t foreColor = PageDefaults().ForeColor;
    int fillStyle = PageDefaults().FillStyle;
    int32_t fillColor = PageDefaults().FillColor;
    int drawWidth = PageDefaults().DrawWidth;

    // RotatedText only: the device font and position (page device pixels).
    DeviceFont deviceFont;
    int deviceX = 0, deviceY = 0;

    // One readable line, e.g.
    // "p1 Text (5.000, 5.000) w 59.276 h 3.996 \"Bramasolovanti...\" Courier New 10 bold fore
    // #000000"
    QString describe() const;
};

// A finished job of the recorder.
struct RecordedJob {
    QString printer; // the printer it would have gone to ("" for a PDF file)
    QString title;   // DocName at EndDoc
    int pages = 0;
    QList<PageOp> ops;
    // What EndDoc read when the job ended, and the pictures by index of their
    // operation: enough to send the job again (PrinterPage::Replay).
    QString docName;
    QHash<int, PagePicture> pictures;
    QList<PageOp> ofKind(PageOp::Kind kind) const;
    QString describe() const; // one line per operation
};

} // namespace corpo
