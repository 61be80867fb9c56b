#include "printing/pagepicture.h"

#include "app/fileio.h"
#include "app/runerror.h"
#include "printing/pageproperties.h"

#include <QSvgRenderer>

namespace corpo {

namespace {
// Far above any picture a paper shows; a bigger file is refused unread.
constexpr qint64 PictureMaxBytes = 32 << 20;
} // namespace

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

QSizeF PagePicture::naturalSize() const {
    if (isMetafile())
        return QSvgRenderer(svg_).defaultSize().toSizeF() * (scale::MmPerInch / 72.0);
    const double dpmX = image_.dotsPerMeterX() > 0 ? image_.dotsPerMeterX() : 96 / 0.0254;
    const double dpmY = image_.dotsPerMeterY() > 0 ? image_.dotsPerMeterY() : 96 / 0.0254;
    return QSizeF(image_.width() / dpmX * 1000, image_.height() / dpmY * 1000);
}

} // namespace corpo
