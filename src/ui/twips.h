// Layout tables are kept in twips (1440 to the inch, 15 per pixel at 96 dpi);
// this converts them to pixels at the screen's logical dpi, shrunk by the
// window's fit factor where the window would not fit its screen.
#pragma once

#include <QRect>
#include <QSize>

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

// The one conversion from the tables to the screen: twips at the screen's dpi,
// times the factor that makes the window fit (1 where it fits as it is). Fonts
// and pictures shrink by the same factor, so a shrunk window is the same
// picture, only smaller.
class LayoutScale {
public:
    LayoutScale(double logicalDpi, double factor) : dpi_(logicalDpi), factor_(factor) {}

    // The screen's dpi and the fit factor of the widget's window, or of the
    // window that owns it (the settings window takes the main window's).
    static LayoutScale Of(const QWidget* widget);

    int Px(int twips) const { return TwipsToPixels(twips, dpi_ * factor_); }
    QRect Rect(const TwipsRect& r) const { return ToPixels(r, dpi_ * factor_); }
    double Points(double points) const { return points * factor_; }
    QSize Picture(QSize size) const;
    double dpi() const { return dpi_; }
    double factor() const { return factor_; }

private:
    double dpi_;
    double factor_;
};

// Records the fit factor on a window, for everything built on it or owned by it.
void SetFitFactor(QWidget& window, double factor);

} // namespace tessaro::ui
