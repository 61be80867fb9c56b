#include "printing/page.h"

#include "printing/printtarget.h"

#include "app/convert.h"
#include "app/fileio.h"
#include "app/printers.h"
#include "app/runerror.h"

#include <QScopeGuard>

namespace corpo {

namespace {

// Page units per inch of each ScaleMode.
double unitsPerInch(int mode) {
    switch (mode) {
    case scale::Pixels: return PageDpi;
    case scale::Millimeters:
    default: return scale::MmPerInch;
    }
}

} // namespace

const PageProperties& PageDefaults() {
    static const PageProperties defaults;
    return defaults;
}

// ---- The job: every drawing is kept until EndDoc and only then rendered, so
// an abandoned job never reaches the printer or the disk.

struct PrinterPage::Job {
    RecordedJob recorded;
    bool pendingNewPage = false;
};

PrinterPage::PrinterPage(Target target) : target_(target) {}
PrinterPage::~PrinterPage() = default;

void PrinterPage::ResetState() { static_cast<PageProperties&>(*this) = PageDefaults(); }

QString PrinterPage::DeviceName() const {
    if (!deviceName_)
        return DefaultPrinter(InstalledPrinters());
    return *deviceName_;
}

PageFont PrinterPage::Font() const {
    return PageFont{FontName, FontSize, FontBold, FontItalic, FontUnderline};
}

bool PrinterPage::InJob() const { return job_ != nullptr; }

PrinterPage::Job& PrinterPage::job() {
    if (!job_) {
        if (target_ == Target::Printer && InstalledPrinters().isEmpty())
            throw MakeError(err::PrinterError);
        job_ = std::make_unique<Job>();
        job_->recorded.printer = target_ == Target::PdfFile ? QString() : DeviceName();
        job_->recorded.pages = 1;
    }
    if (job_->pendingNewPage) {
        job_->pendingNewPage = false;
        ++job_->recorded.pages;
    }
    return *job_;
}

double PrinterPage::toMmX(double v) const { return ScaleX(v, ScaleMode, scale::Millimeters); }
double PrinterPage::toMmY(double v) const { return ScaleY(v, ScaleMode, scale::Millimeters); }

double PrinterPage::ScaleX(double value, int fromScale, int toScale) const {
    return value / unitsPerInch(fromScale) * unitsPerInch(toScale);
}
double PrinterPage::ScaleY(double value, int fromScale, int toScale) const {
    return ScaleX(value, fromScale, toScale);
}

double PrinterPage::TextWidth(const QString& text) const {
    return ScaleX(MeasureText(Font(), text).width, scale::Millimeters, ScaleMode);
}
double PrinterPage::TextHeight(const QString& text) const {
    return ScaleY(MeasureText(Font(), text).height(), scale::Millimeters, ScaleMode);
}

PageOp PrinterPage::stateOp(PageOp::Kind kind) const {
    PageOp op;
    op.kind = kind;
    op.fontName = FontName;
    op.fontSize = FontSize;
    op.bold = FontBold;
    op.italic = FontItalic;
    op.underline = FontUnderline;
    op.transparent = FontTransparent;
    op.foreColor = ForeColor;
    op.fillStyle = FillStyle;
    op.fillColor = FillColor;
    op.drawWidth = DrawWidth;
    return op;
}

void PrinterPage::Print(const QString& text, bool endLine) {
    Job& j = job();
    const TextMetrics m = MeasureText(Font(), text);
    PageOp op = stateOp(PageOp::Text);
    op.page = j.recorded.pages;
    op.x = toMmX(CurrentX);
    op.y = toMmY(CurrentY);
    op.width = m.width;
    op.height = m.height();
    op.text = text;
    j.recorded.ops.append(op);
    if (endLine) {
        CurrentX = 0;
        CurrentY += ScaleY(m.height(), scale::Millimeters, ScaleMode);
    } else {
        CurrentX += ScaleX(m.width, scale::Millimeters, ScaleMode);
    }
}

void PrinterPage::Circle(double x, double y, double radius, int32_t color) {
    Job& j = job();
    PageOp op = stateOp(PageOp::Circle);
    op.page = j.recorded.pages;
    op.x = toMmX(x);
    op.y = toMmY(y);
    op.radius = ScaleX(radius, ScaleMode, scale::Millimeters);
    op.foreColor = color;
    j.recorded.ops.append(op);
    CurrentX = x;
    CurrentY = y;
}

void PrinterPage::Line(double x1, double y1, double x2, double y2, int32_t color, bool box) {
    Job& j = job();
    PageOp op = stateOp(box ? PageOp::Box : PageOp::Line);
    op.page = j.recorded.pages;
    op.x = toMmX(x1);
    op.y = toMmY(y1);
    op.x2 = toMmX(x2);
    op.y2 = toMmY(y2);
    op.foreColor = color;
    j.recorded.ops.append(op);
    CurrentX = x2;
    CurrentY = y2;
}

void PrinterPage::PaintPicture(const PagePicture& picture, double x, double y,
                               std::optional<double> width, std::optional<double> height) {
    if (picture.isNull())
        throw MakeError(err::FileNotFound);
    Job& j = job();
    PageOp op = stateOp(PageOp::Picture);
    op.page = j.recorded.pages;
    op.x = toMmX(x);
    op.y = toMmY(y);
    op.text = picture.path();
    op.metafile = picture.isMetafile();
    const QSizeF natural = picture.naturalSize();
    op.width = width ? ScaleX(*width, ScaleMode, scale::Millimeters) : natural.width();
    op.height = height ? ScaleY(*height, ScaleMode, scale::Millimeters) : natural.height();
    j.recorded.pictures.insert(int(j.recorded.ops.size()), picture);
    j.recorded.ops.append(op);
}

void PrinterPage::TextOut(int deviceX, int deviceY, const QString& text, const DeviceFont& font) {
    Job& j = job();
    PageOp op = stateOp(PageOp::RotatedText);
    op.page = j.recorded.pages;
    op.x = deviceX * scale::MmPerInch / PageDpi;
    op.y = deviceY * scale::MmPerInch / PageDpi;
    // The device draws 8-bit text: what the code page cannot hold comes out as "?".
    op.text = FromCodePage(ToCodePage(text));
    op.deviceFont = font;
    op.deviceX = deviceX;
    op.deviceY = deviceY;
    const TextMetrics m = MeasureText(font, op.text);
    op.width = m.width;
    op.height = m.height();
    j.recorded.ops.append(op);
}

void PrinterPage::NewPage() {
    Job& j = job();
    j.pendingNewPage = true;
}

void PrinterPage::KillDoc() {
    job_.reset();
    ResetState();
}

void PrinterPage::EndDoc() {
    if (!job_) {
        ResetState();
        return;
    }
    // Whatever happens below, this job is over and the next starts afresh.
    std::unique_ptr<Job> j = std::move(job_);
    j->recorded.docName = DocName;
    ResetState();

    switch (target_) {
    case Target::Recorder:
        j->recorded.title = j->recorded.docName;
        recorded_.append(j->recorded);
        return;
    case Target::PdfFile: WritePdf(j->recorded, pdfPath_); return;
    case Target::Printer: PrintJob(j->recorded); return;
    }
}

QList<RecordedJob> PrinterPage::Record(const std::function<void()>& draw) {
    QList<RecordedJob> kept = std::move(recorded_); // leaves it empty
    const PrintTargetScope back(*this);             // last to go: drops an unfinished job
    UseRecorder();
    recording_ = true;
    const auto restore = qScopeGuard([&] {
        recording_ = false;
        recorded_ = std::move(kept);
    });
    draw();
    return std::move(recorded_);
}

void PrinterPage::Replay(const RecordedJob& recorded) {
    KillDoc();
    job_ = std::make_unique<Job>();
    job_->recorded = recorded;
    DocName = recorded.docName;
    EndDoc();
}

void PrinterPage::SelectPrinter(const QString& name) {
    const QStringList installed = InstalledPrinters();
    if (installed.isEmpty() && !recording_)
        throw MakeError(err::PrinterError);
    deviceName_ = ChoosePrinter(installed, DeviceName(), name);
}

void PrinterPage::UsePrinter() {
    KillDoc();
    target_ = Target::Printer;
    pdfPath_.clear();
}

void PrinterPage::UsePdfFile(const QString& path) {
    KillDoc();
    target_ = Target::PdfFile;
    pdfPath_ = path;
}

void PrinterPage::UseRecorder() {
    KillDoc();
    target_ = Target::Recorder;
    pdfPath_.clear();
}

DeviceFont RotatedFont(const PrinterPage& page, int angle) {
    const PageFont f = page.Font();
    DeviceFont d;
    d.height = -ArrotondaPari(20 * f.size / page.TwipsPerPixelY());
    d.escapement = angle;
    d.weight = f.bold ? DeviceFont::Bold : DeviceFont::Normal;
    d.italic = f.italic;
    d.underline = f.underline;
    d.faceName = f.name;
    return d;
}

void PrintRotatedText(PrinterPage& page, const QString& text, int angle) {
    const int x = ArrotondaPari(page.ScaleX(page.CurrentX, page.ScaleMode, scale::Pixels));
    const int y = ArrotondaPari(page.ScaleY(page.CurrentY, page.ScaleMode, scale::Pixels));
    page.TextOut(x, y, text, RotatedFont(page, angle));
}

} // namespace corpo
