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

#include "printing/pagepicture.h"
#include "printing/pageproperties.h"
#include "printing/pagerender.h"
#include "printing/recordedjob.h"

#include <QList>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace corpo {

// The page's properties (PageProperties) are its public members: each
// routine sets them directly.
class PrinterPage : public PageProperties {
public:
    enum class Target { Printer, PdfFile, Recorder };

    // Each owner has its own page (the main window one for all its papers); a
    // test's page records from the start.
    explicit PrinterPage(Target target = Target::Printer);
    ~PrinterPage(); // abandons an unfinished job
    PrinterPage(const PrinterPage&) = delete;
    PrinterPage& operator=(const PrinterPage&) = delete;

    // ---- Read-only properties.
    // The current printer ("" when none is installed). Starts as the
    // system's default printer (where none is named, the first installed).
    QString DeviceName() const;
    PageFont Font() const;
    double TwipsPerPixelY() const { return 1440.0 / PageDpi; }

    // ---- Operations. Coordinates in ScaleMode units.
    // Text with its top-left corner at the current position. Without line
    // end CurrentX grows by its width; with it CurrentX = 0 and
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
    // PrintRotatedText is the routine the papers call.
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

    // Resets every property to its default.
    void ResetState();

private:
    struct Job;
    Job& job(); // the job in progress, started by the first drawing
    double toMmX(double v) const;
    double toMmY(double v) const;
    PageOp stateOp(PageOp::Kind kind) const;

    Target target_;
    // Inside Record: a missing printer does not stop a preview, only the print.
    bool recording_ = false;
    QString pdfPath_;
    mutable std::optional<QString> deviceName_;
    std::unique_ptr<Job> job_;
    QList<RecordedJob> recorded_;
};

// Prints text turned by angle (tenths of a degree, counter-clockwise) in the
// page's current font with its top-left corner at the current position, which
// does not move. No trap of its own: failures reach the caller.
void PrintRotatedText(PrinterPage& page, const QString& text, int angle);
// The device font PrintRotatedText builds from the page's current font.
DeviceFont RotatedFont(const PrinterPage& page, int angle);

} // namespace corpo
