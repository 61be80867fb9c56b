// Small routines the About and new-version windows share.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QWidget;

namespace corpo {

// Where a window of the given frame size goes to sit in the middle of a
// screen: half the free room on each side, a leftover half pixel going to
// the even neighbour.
QPoint CenterPosition(const QRect& screen, const QSize& frame);

// Centres the window on the screen that shows the main window, or on the
// primary screen when the main window is not showing.
void CenterForm(QWidget* form);

// Opens the address with the desktop's handler for its kind; false when the
// desktop refused (the callers go on either way).
bool OpenURL(const QString& address);

} // namespace corpo
