// Layout tables are kept in twips (1440 to the inch, 15 per pixel at 96 dpi);
// this converts them to pixels at the screen's logical dpi.
#pragma once

#include <QRect>

class QWidget;

namespace tessaro::ui {

struct TwipsRect {
    int left, top, width, height;
};

// Pixels for a twips measure at the given logical dpi (96 gives twips / 15).
int TwipsToPixels(int twips, double logicalDpi);
QRect ToPixels(const TwipsRect& r, double logicalDpi);

// Logical dpi of the screen the widget is on (96 when there is no screen).
double LogicalDpi(const QWidget* widget);

} // namespace tessaro::ui
