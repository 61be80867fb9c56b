#include "printing/printerpage.h"

#include "app/fileio.h"
#include "app/printers.h"
#include "app/shell.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QImageReader>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScopeGuard>
#include <QSvgRenderer>
#include <climits>
#include <cmath>
#include <functional>
#include <mutex>

namespace corpo {

namespace {

constexpr double MmPerInch = 25.4;
// Far above any picture a paper shows; a bigger file is refused unread.
constexpr qint64 PictureMaxBytes = 32 << 20;

// Millimetres to the pixels everything is rendered at.
double renderPx(double mm) { return mm * RenderDpi / MmPerInch; }

// Page units per inch of each ScaleMode.
double unitsPerInch(int mode) {
    switch (mode) {
    case scale::Twips: return 1440;
    case scale::Points: return 72;
    case scale::Pixels: return PageDpi;
    case scale::Inches: return 1;
    case scale::Centimeters: return 2.54;
    case scale::Millimeters:
    default: return MmPerInch;
    }
}

QFont renderFont(const QString& name, int pixelSize, bool bold, bool italic, bool underline) {
    static std::once_flag fonts;
    std::call_once(fonts, [] { InstallFontSubstitutions(); });
    QFont f(name);
    f.setPixelSize(std::max(1, pixelSize));
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    // Outlines at their design widths: no grid fitting at any size.
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::ForceOutline);
    return f;
}

// A page font at the render resolution, where 1 pt is 100 pixels.
QFont renderFont(const PageFont& font) {
    return renderFont(font.name, RoundHalfEven(font.size * RenderDpi / 72.0), font.bold,
                      font.italic, font.underline);
}

TextMetrics measure(const QFont& f, const QString& text) {
    const QFontMetricsF fm(f);
    const double k = MmPerInch / RenderDpi;
    return {fm.horizontalAdvance(text) * k, fm.ascent() * k, fm.descent() * k};
}

// The device font of a rotated text at the render resolution.
QFont renderFont(const DeviceFont& d) {
    const int scaleToRender = RenderDpi / PageDpi;
    int px = std::abs(d.height) * scaleToRender;
    if (d.height > 0) {
        // A positive height is the whole cell; take the character height out of it.
        const QFont probe = renderFont(d.faceName, 1000, d.weight >= 600, d.italic, d.underline);
        const QFontMetricsF fm(probe);
        px = RoundHalfEven(px * 1000.0 / (fm.ascent() + fm.descent()));
    }
    if (px == 0)
        px = RoundHalfEven(12 * RenderDpi / 72.0);
    return renderFont(d.faceName, px, d.weight >= 600, d.italic, d.underline);
}

QString fmt(double v) { return QString::number(v, 'f', 3); }
// As it goes on paper (#rrggbb), so a description shows a conversion that lost a channel.
QString hexColor(int32_t c) { return ToQColor(c).name(); }

} // namespace

TextMetrics MeasureText(const PageFont& font, const QString& text) {
    return measure(renderFont(font), text);
}

// ---- Pictures

PagePicture PagePicture::Load(const QString& path) {
    RunError error;
    const std::optional<QByteArray> bytes = ReadSmallFile(path, PictureMaxBytes, &error);
    // A picture that cannot be read counts as a missing one.
    if (!bytes || bytes->isEmpty())
        throw MakeError(err::FileNotFound);
    PagePicture p;
    p.path_ = path;
    const bool wmf = path.endsWith(QStringLiteral(".wmf"), Qt::CaseInsensitive);
    if (wmf) {
        const std::optional<QByteArray> svg = MetafileToSvg(*bytes);
        if (!svg || !QSvgRenderer(*svg).isValid())
            throw MakeError(err::FileNotFound);
        p.svg_ = *svg;
    } else {
        p.image_ = QImage::fromData(*bytes);
        if (p.image_.isNull())
            throw MakeError(err::FileNotFound);
    }
    return p;
}

// ---- Recorded operations

QString PageOp::describe() const {
    QString s = QStringLiteral("p%1 ").arg(page);
    const QString font =
        QStringLiteral("%1 %2%3%4%5")
            .arg(fontName, QString::number(fontSize), bold ? QStringLiteral(" bold") : QString(),
                 italic ? QStringLiteral(" italic") : QString(),
                 underline ? QStringLiteral(" underline") : QString());
    const QString fill = fillStyle == 0 ? QStringLiteral("fill %1").arg(hexColor(fillColor))
                                        : QStringLiteral("no fill");
    switch (kind) {
    case Text:
        s += QStringLiteral("Text (%1, %2) w %3 h %4 \"%5\" %6 fore %7")
                 .arg(fmt(x), fmt(y), fmt(width), fmt(height), text, font, hexColor(foreColor));
        break;
    case RotatedText:
        s += QStringLiteral("Rotated (%1, %2) px (%3, %4) angle %5 height %6 weight %7 \"%8\" %9 "
                            "fore %10")
                 .arg(fmt(x), fmt(y))
                 .arg(deviceX)
                 .arg(deviceY)
                 .arg(deviceFont.escapement)
                 .arg(deviceFont.height)
                 .arg(deviceFont.weight)
                 .arg(text, deviceFont.faceName, hexColor(foreColor));
        break;
    case Circle:
        s += QStringLiteral("Circle (%1, %2) r %3 outline %4 width %5 %6")
                 .arg(fmt(x), fmt(y), fmt(radius), hexColor(foreColor))
                 .arg(drawWidth)
                 .arg(fill);
        break;
    case Line:
    case Box:
        s += QStringLiteral("%1 (%2, %3)-(%4, %5) colour %6 width %7%8")
                 .arg(kind == Box ? QStringLiteral("Box") : QStringLiteral("Line"), fmt(x), fmt(y),
                      fmt(x2), fmt(y2), hexColor(foreColor))
                 .arg(drawWidth)
                 .arg(kind == Box ? QStringLiteral(" ") + fill : QString());
        break;
    case Picture:
        s += QStringLiteral("Picture (%1, %2) %3 x %4 %5 %6")
                 .arg(fmt(x), fmt(y), fmt(width), fmt(height),
                      metafile ? QStringLiteral("metafile") : QStringLiteral("image"),
                      QFileInfo(text).fileName());
        break;
    }
    return s;
}

QList<PageOp> RecordedJob::ofKind(PageOp::Kind kind) const {
    QList<PageOp> out;
    for (const PageOp& op : ops)
        if (op.kind == kind)
            out.append(op);
    return out;
}

QString RecordedJob::describe() const {
    QStringList lines;
    lines << QStringLiteral("job to \"%1\", %2 page(s)").arg(printer).arg(pages);
    for (const PageOp& op : ops)
        lines << op.describe();
    return lines.join(QLatin1Char('\n'));
}

// ---- The job: every drawing is kept until EndDoc and only then rendered, so
// an abandoned job never reaches the printer or the disk.

struct PrinterPage::Job {
    RecordedJob recorded;
    bool pendingNewPage = false;
};

PrinterPage::PrinterPage() = default;
PrinterPage::~PrinterPage() = default;

void PrinterPage::ResetState() {
    ScaleMode = scale::Millimeters;
    ScaleLeft = ScaleTop = 0;
    CurrentX = CurrentY = 0;
    FontName = QStringLiteral("Courier New");
    FontSize = 10;
    FontBold = FontItalic = FontUnderline = false;
    FontTransparent = true;
    ForeColor = 0;
    FillStyle = 1;
    FillColor = 0;
    DrawWidth = 1;
    DrawStyle = 0;
    PrintQuality = -4;
    ColorMode = 2;
    DocName = QStringLiteral("Bramasolovanti");
}

QString PrinterPage::DeviceName() const {
    if (!deviceName_)
        return DefaultPrinter();
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

double PrinterPage::toMmX(double v) const {
    return ScaleX(v - ScaleLeft, ScaleMode, scale::Millimeters);
}
double PrinterPage::toMmY(double v) const {
    return ScaleY(v - ScaleTop, ScaleMode, scale::Millimeters);
}

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
    op.drawStyle = DrawStyle;
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
        CurrentX = ScaleLeft;
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
    // Without a size a picture keeps its own: its resolution, else 96 dpi.
    QSizeF natural;
    if (picture.isMetafile()) {
        natural = QSvgRenderer(picture.svg()).defaultSize().toSizeF() * (MmPerInch / 72.0);
    } else {
        const QImage& img = picture.image();
        const double dpmX = img.dotsPerMeterX() > 0 ? img.dotsPerMeterX() : 96 / 0.0254;
        const double dpmY = img.dotsPerMeterY() > 0 ? img.dotsPerMeterY() : 96 / 0.0254;
        natural = QSizeF(img.width() / dpmX * 1000, img.height() / dpmY * 1000);
    }
    op.width = width ? ScaleX(*width, ScaleMode, scale::Millimeters) : natural.width();
    op.height = height ? ScaleY(*height, ScaleMode, scale::Millimeters) : natural.height();
    j.recorded.pictures.insert(int(j.recorded.ops.size()), picture);
    j.recorded.ops.append(op);
}

void PrinterPage::TextOut(int deviceX, int deviceY, const QString& text, const DeviceFont& font) {
    Job& j = job();
    PageOp op = stateOp(PageOp::RotatedText);
    op.page = j.recorded.pages;
    op.x = deviceX * MmPerInch / PageDpi;
    op.y = deviceY * MmPerInch / PageDpi;
    // The device draws 8-bit text: what the code page cannot hold comes out as "?".
    op.text = FromCodePage(ToCodePage(text));
    op.deviceFont = font;
    op.deviceX = deviceX;
    op.deviceY = deviceY;
    const QFont f = renderFont(font);
    op.fontName = font.faceName;
    op.fontSize = f.pixelSize() * 72.0 / RenderDpi;
    op.bold = font.weight >= 600;
    op.italic = font.italic;
    op.underline = font.underline;
    const TextMetrics m = measure(f, op.text);
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

void RenderJob(QPainter& p, const RecordedJob& job, const std::function<bool()>& newPage,
               const std::function<void(int page)>& beforePage) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const double unitPen = double(RenderDpi) / PageDpi;
    int page = 1;
    const auto startPage = [&] {
        if (beforePage) {
            p.save();
            beforePage(page);
            p.restore();
        }
    };
    startPage();
    const auto nextPage = [&] {
        if (!newPage())
            throw MakeError(err::PrinterError);
        ++page;
        startPage();
    };
    for (int i = 0; i < job.ops.size(); ++i) {
        const PageOp& op = job.ops[i];
        while (page < op.page)
            nextPage();
        QPen pen(ToQColor(op.foreColor));
        pen.setWidthF(std::max(1, op.drawWidth) * unitPen);
        const QBrush fill = op.fillStyle == 0 ? QBrush(ToQColor(op.fillColor)) : QBrush(Qt::NoBrush);
        switch (op.kind) {
        case PageOp::Text: {
            const QFont f = renderFont(PageFont{op.fontName, op.fontSize, op.bold, op.italic,
                                                op.underline});
            p.setFont(f);
            const QFontMetricsF fm(f);
            const QPointF topLeft(renderPx(op.x), renderPx(op.y));
            if (!op.transparent)
                p.fillRect(QRectF(topLeft, QSizeF(fm.horizontalAdvance(op.text), fm.height())),
                           Qt::white);
            p.setPen(ToQColor(op.foreColor));
            p.drawText(topLeft + QPointF(0, fm.ascent()), op.text);
            break;
        }
        case PageOp::RotatedText: {
            const QFont f = renderFont(op.deviceFont);
            p.setFont(f);
            p.setPen(ToQColor(op.foreColor));
            p.save();
            p.translate(renderPx(op.x), renderPx(op.y));
            // Escapement turns counter-clockwise on paper; y grows downwards here.
            p.rotate(-op.deviceFont.escapement / 10.0);
            p.drawText(QPointF(0, QFontMetricsF(f).ascent()), op.text);
            p.restore();
            break;
        }
        case PageOp::Circle: {
            p.setPen(pen);
            p.setBrush(fill);
            const double r = renderPx(op.radius);
            p.drawEllipse(QPointF(renderPx(op.x), renderPx(op.y)), r, r);
            break;
        }
        case PageOp::Line:
            p.setPen(pen);
            p.drawLine(QPointF(renderPx(op.x), renderPx(op.y)), QPointF(renderPx(op.x2), renderPx(op.y2)));
            break;
        case PageOp::Box:
            p.setPen(pen);
            p.setBrush(fill);
            p.drawRect(QRectF(QPointF(renderPx(op.x), renderPx(op.y)),
                              QPointF(renderPx(op.x2), renderPx(op.y2)))
                           .normalized());
            break;
        case PageOp::Picture: {
            const PagePicture pic = job.pictures.value(i);
            const QRectF target(renderPx(op.x), renderPx(op.y), renderPx(op.width),
                                renderPx(op.height));
            if (pic.isMetafile()) {
                QSvgRenderer r(pic.svg());
                r.setAspectRatioMode(Qt::IgnoreAspectRatio);
                r.render(&p, target);
            } else {
                p.drawImage(target, pic.image());
            }
            break;
        }
        }
    }
    // Sheets left blank at the end (a job may end on one) are still shown.
    while (page < job.pages)
        nextPage();
}

void PrinterPage::EndDoc() {
    if (!job_) {
        ResetState();
        return;
    }
    // Whatever happens below, this job is over and the next starts afresh.
    std::unique_ptr<Job> j = std::move(job_);
    const int colorMode = ColorMode;
    const QString docName = DocName;
    ResetState();
    j->recorded.docName = docName;
    j->recorded.colorMode = colorMode;

    switch (target_) {
    case Target::Recorder:
        j->recorded.title = docName;
        recorded_.append(j->recorded);
        return;

    case Target::PdfFile: {
        // Rendered in memory first and then written in one piece, never over
        // an earlier file until it is complete.
        QByteArray bytes;
        {
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            QPdfWriter writer(&buffer);
            writer.setResolution(RenderDpi);
            writer.setPageSize(QPageSize(QPageSize::A4));
            writer.setPageMargins(QMarginsF(0, 0, 0, 0));
            writer.setCreator(QStringLiteral("Bramasolovanti"));
            writer.setTitle(docName);
            QPainter p;
            if (!p.begin(&writer))
                throw MakeError(err::DeviceIO);
            try {
                RenderJob(p, j->recorded, [&] { return writer.newPage(); });
            } catch (...) {
                p.end();
                throw;
            }
            p.end();
        }
        RunError e;
        if (!WriteFileAtomically(pdfPath_, bytes, &e))
            throw e;
        return;
    }

    case Target::Printer: {
        // Asked afresh: the print service may have gone, or the queue been removed.
        const QString name = j->recorded.printer;
        if (name.isEmpty() || !InstalledPrinters().contains(name))
            throw MakeError(err::PrinterError);
        QPrinter printer(QPrinter::HighResolution);
        printer.setPrinterName(name);
        if (printer.outputFormat() != QPrinter::NativeFormat || !printer.isValid())
            throw MakeError(err::PrinterError);
        printer.setFullPage(true);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageMargins(QMarginsF(0, 0, 0, 0));
        printer.setResolution(RenderDpi);
        printer.setColorMode(colorMode == 1 ? QPrinter::GrayScale : QPrinter::Color);
        printer.setCopyCount(1);
        printer.setDocName(docName);
        QPainter p;
        if (!p.begin(&printer))
            throw MakeError(err::PrinterError);
        RenderJob(p, j->recorded, [&] { return printer.newPage(); });
        if (!p.end() || printer.printerState() == QPrinter::Error)
            throw MakeError(err::PrinterError);
        return;
    }
    }
}

QList<RecordedJob> PrinterPage::Record(const std::function<void()>& draw) {
    const Target before = target_;
    const QString beforePdf = pdfPath_;
    QList<RecordedJob> kept = std::move(recorded_);
    recorded_.clear();
    UseRecorder();
    const auto restore = qScopeGuard([&] {
        KillDoc();
        target_ = before;
        pdfPath_ = beforePdf;
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
    ColorMode = recorded.colorMode;
    EndDoc();
}

void PrinterPage::SelectPrinter(const QString& name) {
    const QStringList installed = InstalledPrinters();
    if (installed.isEmpty())
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

PrinterPage& Printer() {
    static PrinterPage page;
    return page;
}

QString ChoosePrinter(const QStringList& installed, const QString& current, const QString& wanted) {
    if (installed.isEmpty())
        return QString();
    for (const QString& name : installed)
        if (name == wanted)
            return name;
    if (installed.contains(current))
        return current;
    return installed.first();
}

QString DefaultPrinter() {
    return StampantePredefinita(InstalledPrinters());
}

DeviceFont RotatedFont(const PrinterPage& page, int angle) {
    const PageFont f = page.Font();
    DeviceFont d;
    d.height = -RoundHalfEven(20 * f.size / page.TwipsPerPixelY());
    d.width = 0;
    d.escapement = angle;
    d.orientation = 0;
    d.weight = f.bold ? 700 : 400;
    d.italic = f.italic;
    d.underline = f.underline;
    d.strikeOut = false;
    d.charSet = 0;
    d.faceName = f.name.left(31);
    return d;
}

void StampaTestoRuotato(const QString& text, int angle) {
    PrinterPage& page = Printer();
    const int x = RoundHalfEven(
        page.ScaleX(page.CurrentX - page.ScaleLeft, page.ScaleMode, scale::Pixels));
    const int y = RoundHalfEven(
        page.ScaleY(page.CurrentY - page.ScaleTop, page.ScaleMode, scale::Pixels));
    page.TextOut(x, y, text, RotatedFont(page, angle));
}

namespace testing {

RecorderScope::RecorderScope()
    : previous_(Printer().target()), previousPdf_(Printer().pdfPath()) {
    Printer().UseRecorder();
    Printer().clearRecorded();
}

RecorderScope::~RecorderScope() {
    Printer().clearRecorded();
    switch (previous_) {
    case PrinterPage::Target::Printer: Printer().UsePrinter(); break;
    case PrinterPage::Target::PdfFile: Printer().UsePdfFile(previousPdf_); break;
    case PrinterPage::Target::Recorder: Printer().UseRecorder(); break;
    }
}

RecordedJob RecorderScope::last() const {
    const QList<RecordedJob>& all = jobs();
    return all.isEmpty() ? RecordedJob{} : all.last();
}

} // namespace testing

} // namespace corpo
