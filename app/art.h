// Our own drawings, kept as SVG and rendered at the size asked for.
#pragma once

#include <QPixmap>
#include <QString>

namespace corpo {
// Renders a picture of the program's resources (":/art/...svg") at size.
QPixmap RenderArt(const QString& resource, const QSize& size);
} // namespace corpo
