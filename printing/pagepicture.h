// The pictures a paper draws: Windows metafiles (kept as vectors) and raster
// images, read afresh from their files.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSizeF>
#include <QString>
#include <optional>

namespace corpo {

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
    // Its own size in millimetres: by its resolution, else at 96 dpi.
    QSizeF naturalSize() const;

private:
    QString path_;
    QByteArray svg_;
    QImage image_;
};

// Converts a Windows metafile to SVG, whatever the locale; nullopt when it
// cannot be read as one or draws nothing inside its frame.
std::optional<QByteArray> MetafileToSvg(const QByteArray& wmf);

} // namespace corpo
