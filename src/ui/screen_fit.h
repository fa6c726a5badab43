// The rule that keeps a fixed-size window on its screen: where the window with
// its frame and menu would not fit the work area (the screen less the taskbar),
// it is shrunk uniformly until it does, and placed inside the work area.
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace tessaro::ui {

// Never shrunk further: below this the window is unreadable anyway, and the
// operator is better served by a window that runs off a tiny screen.
inline constexpr double kSmallestFitFactor = 0.25;

// The factor for a client area of clientTwips at the screen's dpi, with the
// frame and a menu bar of menuHeight pixels (neither shrinks) around it: 1 when
// it fits as it is, else the largest factor at which the client area, converted
// as the layout converts it, fits.
double FitFactor(const QRect& workArea, const QMargins& frame, int menuHeight, QSize clientTwips,
                 double logicalDpi);

// Top-left of a frame moved the least that puts it inside the work area; where
// it is larger, its top-left corner stays in the work area.
QPoint PlaceInside(const QRect& workArea, const QRect& frame);

// Top-left of a frame of the given size centred in the work area.
QPoint CentreIn(const QRect& workArea, QSize frame);

} // namespace tessaro::ui
