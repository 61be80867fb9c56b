// Fonts, measuring and the back ends that put a finished job on a device: the
// current printer (one print job, through the system's print service) and a
// PDF file. The recorder, the third back end, keeps the job as it is.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QPainter;

namespace corpo {

struct RecordedJob;

// The current font as one value (the page's read-only Font property).
struct PageFont {
    QString name;
    double size = 0; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

// Width and height of a text in one font, in millimetres. The single
// measurement every back end and every placement rule uses.
struct TextMetrics {
    double width = 0;   // advance of the whole text
    double ascent = 0;  // baseline below the top of the line
    double descent = 0; // bottom of the line below the baseline
    double height() const { return ascent + descent; }
};
TextMetrics MeasureText(const PageFont& font, const QString& text);

// A font as a device context takes it for text turned by an angle: a height
// in page device pixels (negative: the character height without internal
// leading), escapement in tenths of a degree counter-clockwise, weight 400/700.
struct DeviceFont {
    static constexpr int Normal = 400, Bold = 700;
    QString faceName;
    int height = 0;
    int escapement = 0;
    int weight = Normal;
    bool italic = false;
    bool underline = false;
    bool bold() const { return weight >= 600; } // from semibold on
};
TextMetrics MeasureText(const DeviceFont& font, const QString& text);

// Draws a recorded job on a painter whose unit is one pixel at RenderDpi from
// the paper's corner. newPage starts the next sheet (false: the device
// refused); beforePage, when given, draws under each sheet first.
void RenderJob(QPainter& painter, const RecordedJob& job, const std::function<bool()>& newPage,
               const std::function<void(int page)>& beforePage = {});

// Sends a finished job to its printer, asked afresh among the installed ones;
// a printer gone or refusing throws 482.
void PrintJob(const RecordedJob& job);
// Writes a finished job as a PDF file, in one piece and never over an earlier
// file until it is complete; a file that cannot be written throws its error.
void WritePdf(const RecordedJob& job, const QString& path);

// What the current printer becomes when `wanted` is asked for among the
// installed printers: the exact (case-sensitive) match, else `current` when
// it is installed, else the first one; "" when none is installed.
QString ChoosePrinter(const QStringList& installed, const QString& current, const QString& wanted);

} // namespace corpo
