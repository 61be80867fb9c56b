#include "printing/recordedjob.h"

#include "app/convert.h"

#include <QFileInfo>
#include <QStringList>

namespace corpo {

namespace {
QString fmt(double v) { return QString::number(v, 'f', 3); }
// As it goes on paper (#rrggbb), so a description shows a conversion that lost a channel.
QString hexColor(int32_t c) { return ToQColor(c).name(); }
} // namespace

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

} // namespace corpo
