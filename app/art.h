// Our own drawings, kept as SVG and rendered at the size asked for.
#pragma once

#include <QPixmap>
#include <QString>

namespace corpo {
// Renders one of the program's SVG pictures (":/art/logo.svg", or another
// folder's resource) on a transparent pixmap of size, sharp on a screen of
// ratio device pixels per pixel. An unreadable picture leaves it blank.
QPixmap RenderArt(const QString& resource, const QSize& size, qreal ratio = 1);
} // namespace corpo
