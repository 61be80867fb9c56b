// Our own drawings, kept as SVG and rendered at the size asked for.
#pragma once

#include <QPixmap>
#include <QString>

class QLabel;

namespace corpo {
// Renders one of the program's SVG pictures (":/art/logo.svg", or another
// folder's resource) on a transparent pixmap of size, sharp on a screen of
// ratio device pixels per pixel. An unreadable picture leaves it blank.
QPixmap RenderArt(const QString& resource, const QSize& size, qreal ratio = 1);

// Shows a drawing in a picture label, rendered for `scale` times the label's
// size in device pixels, so it stays sharp on a high-density screen and when
// the label grows by up to `scale`.
void ShowArt(QLabel* label, const QString& resource, qreal scale = 1);
} // namespace corpo
