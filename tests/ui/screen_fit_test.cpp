// The window fits the work area of its screen: as it is where it fits, shrunk by
// one factor and placed inside where it does not; the settings window takes the
// main window's factor; the divider lines show at every scale.
#include "ui/examination_button.h"
#include "ui/main_window_layout.h"
#include "ui/main_window_widgets.h"
#include "ui/settings_window_layout.h"
#include "ui/text_box.h"
#include "ui/twips.h"

#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace tessaro::ui {
namespace {

struct FitCase {
    const char* what;
    QRect workArea;
    bool fits;
    double deviceRatio; // the divider is drawn at this many device pixels a pixel
};

// Dark pixels in the column of a divider, drawn by its panel at a device ratio.
int DarkPixelsOfDivider(QWidget* panel, QWidget* line, double ratio) {
    QImage image((QSizeF(panel->size()) * ratio).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    panel->render(&image);
    int dark = 0;
    const int middle = static_cast<int>((line->y() + line->height() / 2) * ratio);
    for (int x = static_cast<int>(line->x() * ratio) - 1; x <= (line->x() + 1) * ratio; ++x)
        if (x >= 0 && x < image.width() && qGray(image.pixel(x, middle)) < 128)
            ++dark;
    return dark;
}

TEST(ScreenFit, TheWindowFitsTheWorkAreaOfItsScreen) {
    const FitCase cases[] = {
        {"a large screen: the tables exactly", {0, 0, 1920, 1160}, true, 1.5},
        {"1024 x 768", {0, 0, 1024, 768}, false, 1.0},
        {"1366 x 768 less a taskbar at the bottom", {0, 0, 1366, 728}, false, 1.0},
        {"a taskbar on the left and at the top", {120, 48, 1246, 720}, false, 1.5},
        {"1920 x 1080 at 150 %, in pixels of 96 dpi", {0, 0, 1280, 693}, false, 1.0},
    };
    for (const FitCase& c : cases) {
        SCOPED_TRACE(c.what);
        QMainWindow window;
        const MainWindowWidgets w = BuildMainWindow(window, c.workArea);
        const LayoutScale scale = LayoutScale::Of(&window);
        const double dpi = LogicalDpi(&window);
        ASSERT_EQ(dpi, scale.dpi());
        EXPECT_EQ(scale.factor() == 1.0, c.fits);
        EXPECT_GT(scale.factor(), 0.5);

        // Every measure and font by the one factor.
        const double scaled = dpi * scale.factor();
        EXPECT_EQ(w.client->size(), QSize(TwipsToPixels(layout::kClientWidth, scaled),
                                          TwipsToPixels(layout::kClientHeight, scaled)));
        EXPECT_EQ(w.txtBpart->geometry(), ToPixels(layout::kTxtBpart, scaled));
        EXPECT_EQ(w.cmdOK->geometry(), ToPixels(layout::kCmdOK, scaled));
        EXPECT_EQ(w.cmdManual[60]->geometry(), ToPixels(layout::ManualButtonRect(60), scaled));
        EXPECT_EQ(w.cmdQB[57]->geometry(), ToPixels({4005, 90, 1635, 420}, scaled));
        EXPECT_DOUBLE_EQ(w.cmdOK->font().pointSizeF(), 26.25 * scale.factor());
        EXPECT_DOUBLE_EQ(w.cmdQB[0]->font().pointSizeF(), 8.25 * scale.factor());
        EXPECT_DOUBLE_EQ(window.menuBar()->font().pointSizeF(), 8.25);
        if (c.fits) {
            EXPECT_EQ(w.client->size(),
                      QSize(TwipsToPixels(12315, dpi), TwipsToPixels(12180, dpi)));
        }

        // Shown, the whole frame lies in the work area; where the window was
        // shrunk, the largest factor in thousandths was taken.
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        const QRect frame = window.frameGeometry();
        EXPECT_TRUE(c.workArea.contains(frame))
            << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
        if (!c.fits) {
            const QRect client = window.geometry(); // the menu bar included
            const int roomWidth = c.workArea.width() - (frame.width() - client.width());
            const int roomHeight = c.workArea.height() - (frame.height() - client.height()) -
                                   window.menuBar()->height();
            const double larger = dpi * (scale.factor() + 0.002);
            EXPECT_TRUE(TwipsToPixels(12315, larger) > roomWidth ||
                        TwipsToPixels(12180, larger) > roomHeight);
        }

        // The settings window it owns is shrunk alike, picture included.
        QDialog form(&window);
        const SettingsControls s = BuildSettingsLayout(&form);
        EXPECT_EQ(form.size(), QSize(TwipsToPixels(5640, scaled), TwipsToPixels(3690, scaled)));
        EXPECT_EQ(s.txtGDTpathS->geometry(), ToPixels({135, 1260, 4965, 375}, scaled));
        EXPECT_DOUBLE_EQ(s.cmdApply->font().pointSizeF(), 9.75 * scale.factor());
        EXPECT_EQ(s.cmdSrcSource->iconSize(), scale.Picture({16, 16}));

        // Both divider lines show, however many device pixels a pixel is.
        for (const char* name : {"Line1(0)", "Line1(1)"}) {
            auto* line = window.findChild<QWidget*>(QLatin1String(name));
            ASSERT_NE(line, nullptr);
            EXPECT_GE(line->height(), TwipsToPixels(3200, scaled));
            EXPECT_GE(DarkPixelsOfDivider(line->parentWidget(), line, c.deviceRatio), 1) << name;
        }
    }
}

} // namespace
} // namespace tessaro::ui
