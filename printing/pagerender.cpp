#include "printing/pagerender.h"

#include "app/convert.h"
#include "app/fileio.h"
#include "app/printers.h"
#include "app/runerror.h"
#include "app/shell.h"
#include "printing/pageproperties.h"
#include "printing/recordedjob.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSvgRenderer>
#include <cmath>
#include <mutex>

namespace corpo {

namespace {

// Millimetres to the pixels everything is rendered at.
double renderPx(double mm) { return mm * RenderDpi / scale::MmPerInch; }

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
    return renderFont(font.name, ArrotondaPari(font.size * RenderDpi / 72.0), font.bold,
                      font.italic, font.underline);
}

// The device font of a rotated text at the render resolution.
QFont renderFont(const DeviceFont& d) {
    const int scaleToRender = RenderDpi / PageDpi;
    int px = std::abs(d.height) * scaleToRender;
    if (d.height > 0) {
        // A positive height is the whole cell; take the character height out of it.
        const QFont probe = renderFont(d.faceName, 1000, d.bold(), d.italic, d.underline);
        const QFontMetricsF fm(probe);
        px = ArrotondaPari(px * 1000.0 / (fm.ascent() + fm.descent()));
    }
    if (px == 0)
        px = ArrotondaPari(12 * RenderDpi / 72.0);
    return renderFont(d.faceName, px, d.bold(), d.italic, d.underline);
}

TextMetrics measure(const QFont& f, const QString& text) {
    const QFontMetricsF fm(f);
    const double k = scale::MmPerInch / RenderDpi;
    return {fm.horizontalAdvance(text) * k, fm.ascent() * k, fm.descent() * k};
}

} // namespace

TextMetrics MeasureText(const PageFont& font, const QString& text) {
    return measure(renderFont(font), text);
}

TextMetrics MeasureText(const DeviceFont& font, const QString& text) {
    return measure(renderFont(font), text);
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
        const QBrush fill =
            op.fillStyle == 0 ? QBrush(ToQColor(op.fillColor)) : QBrush(Qt::NoBrush);
        switch (op.kind) {
        case PageOp::Text: {
            const QFont f =
                renderFont(PageFont{op.fontName, op.fontSize, op.bold, op.italic, op.underline});
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
            p.drawLine(QPointF(renderPx(op.x), renderPx(op.y)),
                       QPointF(renderPx(op.x2), renderPx(op.y2)));
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

void WritePdf(const RecordedJob& job, const QString& path) {
    // Rendered in memory first and then written in one piece.
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(RenderDpi);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setCreator(QStringLiteral("Bramasolovanti"));
        writer.setTitle(job.docName);
        QPainter p;
        if (!p.begin(&writer))
            throw MakeError(err::DeviceIO);
        try {
            RenderJob(p, job, [&] { return writer.newPage(); });
        } catch (...) {
            p.end();
            throw;
        }
        p.end();
    }
    RunError e;
    if (!WriteFileAtomically(path, bytes, &e))
        throw e;
}

void PrintJob(const RecordedJob& job) {
    // Asked afresh: the print service may have gone, or the queue been removed.
    const QString name = job.printer;
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
    printer.setColorMode(QPrinter::Color); // black and white papers are drawn so
    printer.setCopyCount(1);
    printer.setDocName(job.docName);
    QPainter p;
    if (!p.begin(&printer))
        throw MakeError(err::PrinterError);
    RenderJob(p, job, [&] { return printer.newPage(); });
    if (!p.end() || printer.printerState() == QPrinter::Error)
        throw MakeError(err::PrinterError);
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

} // namespace corpo
