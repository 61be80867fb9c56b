// The printing surface every paper of the program draws on: a model of the
// current printer's page with a current position, a current font, colours and
// fill settings, measured in millimetres from the paper's top-left corner.
//
// Three back ends draw the same operations: the current printer (one print
// job per EndDoc), a PDF file (written at EndDoc), and a recorder that keeps
// every operation with its font, colours and position for tests.
//
// Failures (no printer installed, a job the printer refused, a picture that
// cannot be read, a PDF file that cannot be written) are thrown as
// corpo::RunError; every printing routine traps them itself. Drawings are
// kept until EndDoc renders them, so a job left without EndDoc after a
// failure, and abandoned with KillDoc (or by a change of target), never
// reaches the printer or the disk.
#pragma once

#include "app/convert.h"
#include "app/runerror.h"

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QPainter;

namespace corpo {

// Units of ScaleMode and of ScaleX / ScaleY.
namespace scale {
inline constexpr int Twips = 1;       // 1/1440 inch
inline constexpr int Points = 2;      // 1/72 inch
inline constexpr int Pixels = 3;      // the page's device pixel, 1/600 inch
inline constexpr int Inches = 5;
inline constexpr int Millimeters = 6;
inline constexpr int Centimeters = 7;
} // namespace scale

// The page's device pixel: outlines (DrawWidth), StampaTestoRuotato and
// TwipsPerPixelY all count in it, whatever the back end really renders at.
inline constexpr int PageDpi = 600;
// Everything is drawn and measured at this resolution, where every font size
// the papers use (whole or half points) is a whole number of pixels.
inline constexpr int RenderDpi = 7200;

// A picture for PaintPicture: a Windows metafile (kept as vectors) or a raster
// image (JPEG, PNG).
class PagePicture {
public:
    PagePicture() = default;
    // Reads the file afresh. A missing file, or one that is no readable
    // picture, throws RunError 53 (File not found).
    static PagePicture Load(const QString& path);

    bool isNull() const { return svg_.isEmpty() && image_.isNull(); }
    bool isMetafile() const { return !svg_.isEmpty(); }
    QString path() const { return path_; }
    // A metafile as SVG (what libwmf made of it); empty for raster images.
    const QByteArray& svg() const { return svg_; }
    const QImage& image() const { return image_; }

private:
    QString path_;
    QByteArray svg_;
    QImage image_;
};

// Converts a Windows metafile to SVG, whatever the locale; nullopt when it
// cannot be read as one or draws nothing inside its frame.
std::optional<QByteArray> MetafileToSvg(const QByteArray& wmf);

// The current font as one value (the page's read-only Font property).
struct PageFont {
    QString name;
    double size = 10; // points
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
    QString faceName; // at most 31 characters
    int height = 0;
    int width = 0;
    int escapement = 0;
    int orientation = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charSet = 0;
};

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

    QString text; // Text and RotatedText; Picture: the file it came from
    bool metafile = false;        // Picture: a metafile rather than an image

    // The page state the operation was drawn with.
    QString fontName;
    double fontSize = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool transparent = true;
    int32_t foreColor = 0; // text colour; for shapes the outline colour given
    int fillStyle = 1;
    int32_t fillColor = 0;
    int drawWidth = 1;
    int drawStyle = 0;

    // RotatedText only: the device font and position (page device pixels).
    DeviceFont deviceFont;
    int deviceX = 0, deviceY = 0;

    // One readable line, e.g.
    // "p1 Text (5.000, 5.000) w 59.276 h 3.996 \"Bramasolovanti...\" Courier New 10 bold fore #000000"
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
    int colorMode = 2;
    QHash<int, PagePicture> pictures;
    QList<PageOp> ofKind(PageOp::Kind kind) const;
    QString describe() const; // one line per operation
};

class PrinterPage {
public:
    enum class Target { Printer, PdfFile, Recorder };

    PrinterPage();
    ~PrinterPage(); // abandons an unfinished job
    PrinterPage(const PrinterPage&) = delete;
    PrinterPage& operator=(const PrinterPage&) = delete;

    // ---- Properties. Each routine sets them directly; EndDoc and KillDoc put
    // them back to these defaults, so each job starts from the same state.
    int ScaleMode = scale::Millimeters;
    double ScaleLeft = 0, ScaleTop = 0;
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
    int DrawStyle = 0;
    int PrintQuality = -4;
    int ColorMode = 2; // 1 monochrome, 2 colour
    // The job's title in the print queue (and the PDF's title); read at EndDoc.
    QString DocName = QStringLiteral("Bramasolovanti");

    // ---- Read-only properties.
    // The current printer ("" when none is installed). Starts as the
    // system's default printer (where none is named, the first installed).
    QString DeviceName() const;
    PageFont Font() const;
    double TwipsPerPixelY() const { return 1440.0 / PageDpi; }

    // ---- Operations. Coordinates in ScaleMode units.
    // Text with its top-left corner at the current position. Without line
    // end CurrentX grows by its width; with it CurrentX = ScaleLeft and
    // CurrentY grows by one line of the current font.
    void Print(const QString& text, bool endLine);
    // Outline in `color` and DrawWidth, filled by FillStyle/FillColor; the
    // current position becomes the centre.
    void Circle(double x, double y, double radius, int32_t color);
    // A line, or with box the rectangle of these corners (filled like a
    // circle); the current position becomes the second point.
    void Line(double x1, double y1, double x2, double y2, int32_t color, bool box);
    // Top-left corner at (x, y), stretched to width/height when given (else
    // its natural size); the current position does not move.
    void PaintPicture(const PagePicture& picture, double x, double y,
                      std::optional<double> width = std::nullopt,
                      std::optional<double> height = std::nullopt);
    // Text turned by the device font's escapement about its top-left corner
    // at (deviceX, deviceY) page device pixels; the position does not move.
    // StampaTestoRuotato is the routine the papers call.
    void TextOut(int deviceX, int deviceY, const QString& text, const DeviceFont& font);
    // Ends the sheet; the next drawing starts a new one (EndDoc right after
    // NewPage adds no blank sheet).
    void NewPage();
    // Ends the job: the printer gets it, the PDF file is written.
    void EndDoc();
    // Abandons the job in progress, if any: nothing is printed or written.
    void KillDoc();
    bool InJob() const;

    double ScaleX(double value, int fromScale, int toScale) const;
    double ScaleY(double value, int fromScale, int toScale) const;
    double TextWidth(const QString& text) const;  // in ScaleMode units
    double TextHeight(const QString& text) const; // one line, in ScaleMode units

    // ---- Printer choice and back end.
    // The first installed printer named exactly `name` becomes the current
    // printer; without a match the current printer stays. No printer
    // installed at all throws 482.
    void SelectPrinter(const QString& name);
    // Where the next jobs go. Changing it abandons a job in progress.
    void UsePrinter();
    void UsePdfFile(const QString& path);
    void UseRecorder();
    Target target() const { return target_; }
    QString pdfPath() const { return pdfPath_; }

    // Runs draw with the recorder as target and returns the jobs it finished;
    // the target and the jobs recorded before are as they were afterwards.
    QList<RecordedJob> Record(const std::function<void()>& draw);
    // Sends a recorded job to the current target exactly as its EndDoc would
    // have: same pages, same printer, same title.
    void Replay(const RecordedJob& job);

    // Jobs the recorder has finished (Target::Recorder).
    const QList<RecordedJob>& recordedJobs() const { return recorded_; }
    void clearRecorded() { recorded_.clear(); }

    // Resets every property to its default.
    void ResetState();

private:
    struct Job;
    Job& job(); // the job in progress, started by the first drawing
    double toMmX(double v) const;
    double toMmY(double v) const;
    PageOp stateOp(PageOp::Kind kind) const;

    Target target_ = Target::Printer;
    QString pdfPath_;
    mutable std::optional<QString> deviceName_;
    std::unique_ptr<Job> job_;
    QList<RecordedJob> recorded_;
};

// Draws a recorded job on a painter whose unit is one pixel at RenderDpi from
// the paper's corner. newPage starts the next sheet (false: the device
// refused); beforePage, when given, draws under each sheet first.
void RenderJob(QPainter& painter, const RecordedJob& job, const std::function<bool()>& newPage,
               const std::function<void(int page)>& beforePage = {});

// The page every printing routine draws on.
PrinterPage& Printer();

// What the current printer becomes when `wanted` is asked for among the
// installed printers: the exact (case-sensitive) match, else `current` when
// it is installed, else the first one; "" when none is installed.
QString ChoosePrinter(const QStringList& installed, const QString& current, const QString& wanted);

// The system's default printer among the installed ones (the first when the
// system names none); "" when none is installed.
QString DefaultPrinter();

// Prints text turned by angle (tenths of a degree, counter-clockwise) in the
// current font with its top-left corner at the current position, which does
// not move. No trap of its own: failures reach the caller.
void StampaTestoRuotato(const QString& text, int angle);
// The device font StampaTestoRuotato builds from the page's current font.
DeviceFont RotatedFont(const PrinterPage& page, int angle);

namespace testing {
// While alive, Printer() records instead of printing; restores the earlier
// target (and forgets the recorded jobs) on exit.
class RecorderScope {
public:
    RecorderScope();
    ~RecorderScope();
    RecorderScope(const RecorderScope&) = delete;
    RecorderScope& operator=(const RecorderScope&) = delete;

    const QList<RecordedJob>& jobs() const { return Printer().recordedJobs(); }
    // The last finished job (an empty one when there is none).
    RecordedJob last() const;

private:
    PrinterPage::Target previous_;
    QString previousPdf_;
};
} // namespace testing

} // namespace corpo
