#include "ui/twips.h"

#include <QScreen>
#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace tessaro::ui {

namespace {
constexpr const char* kFitFactorProperty = "tessaroFitFactor";
}

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

LayoutScale LayoutScale::Of(const QWidget* widget) {
    double factor = 1.0;
    for (const QWidget* w = widget ? widget->window() : nullptr; w != nullptr;
         w = w->parentWidget() ? w->parentWidget()->window() : nullptr) {
        if (const QVariant v = w->property(kFitFactorProperty); v.isValid()) {
            factor = v.toDouble();
            break;
        }
    }
    return {LogicalDpi(widget), factor};
}

QSize LayoutScale::Picture(QSize size) const {
    // Never below one pixel: a picture that vanishes tells the operator nothing.
    return {std::max(1, static_cast<int>(std::lround(size.width() * factor_))),
            std::max(1, static_cast<int>(std::lround(size.height() * factor_)))};
}

void SetFitFactor(QWidget& window, double factor) {
    window.setProperty(kFitFactorProperty, factor);
}

} // namespace tessaro::ui
