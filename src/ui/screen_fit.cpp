#include "ui/screen_fit.h"

#include "ui/twips.h"

#include <algorithm>
#include <cmath>

namespace tessaro::ui {

double FitFactor(const QRect& workArea, const QMargins& frame, int menuHeight, QSize clientTwips,
                 double logicalDpi) {
    const int roomWidth = workArea.width() - frame.left() - frame.right();
    const int roomHeight = workArea.height() - frame.top() - frame.bottom() - menuHeight;
    const auto fits = [&](double factor) {
        return TwipsToPixels(clientTwips.width(), logicalDpi * factor) <= roomWidth &&
               TwipsToPixels(clientTwips.height(), logicalDpi * factor) <= roomHeight;
    };
    if (fits(1.0))
        return 1.0;
    const double exact = std::min(roomWidth * 1440.0 / (clientTwips.width() * logicalDpi),
                                  roomHeight * 1440.0 / (clientTwips.height() * logicalDpi));
    // In thousandths, so the factor reads plainly in logs and the rounding of
    // the conversion cannot push the client a pixel past the room.
    double factor = std::floor(exact * 1000.0) / 1000.0;
    while (factor > kSmallestFitFactor && !fits(factor))
        factor -= 0.001;
    return std::max(factor, kSmallestFitFactor);
}

QPoint PlaceInside(const QRect& workArea, const QRect& frame) {
    const auto axis = [](int pos, int size, int areaStart, int areaSize) {
        if (size >= areaSize)
            return areaStart;
        return std::clamp(pos, areaStart, areaStart + areaSize - size);
    };
    return {axis(frame.x(), frame.width(), workArea.x(), workArea.width()),
            axis(frame.y(), frame.height(), workArea.y(), workArea.height())};
}

QPoint CentreIn(const QRect& workArea, QSize frame) {
    return PlaceInside(workArea, QRect(workArea.x() + (workArea.width() - frame.width()) / 2,
                                       workArea.y() + (workArea.height() - frame.height()) / 2,
                                       frame.width(), frame.height()));
}

} // namespace tessaro::ui
