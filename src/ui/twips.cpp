#include "ui/twips.h"

#include <QScreen>
#include <QWidget>
#include <cmath>

namespace tessaro::ui {

int TwipsToPixels(int twips, double logicalDpi) {
    return static_cast<int>(std::lround(twips * logicalDpi / 1440.0));
}

QRect ToPixels(const TwipsRect& r, double logicalDpi) {
    // Right and bottom edges are converted on their own so that neighbours that
    // touch in twips still touch in pixels.
    const int l = TwipsToPixels(r.left, logicalDpi);
    const int t = TwipsToPixels(r.top, logicalDpi);
    const int rgt = TwipsToPixels(r.left + r.width, logicalDpi);
    const int bot = TwipsToPixels(r.top + r.height, logicalDpi);
    return QRect(l, t, rgt - l, bot - t);
}

double LogicalDpi(const QWidget* widget) {
    const QScreen* screen = widget ? widget->screen() : nullptr;
    return screen ? screen->logicalDotsPerInch() : 96.0;
}

} // namespace tessaro::ui
