// The icon the desktop menu shows (packaging/tessaro.png) is the program's own
// window icon, so the two cannot drift apart.
#include "ui/app_icon.h"

#include <QImage>
#include <gtest/gtest.h>

namespace tessaro::ui {
namespace {

TEST(AppIcon, PackagedPictureIsTheWindowIcon) {
    const QImage drawn = AppIconPixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    const QString packaged = QStringLiteral(TESSARO_SOURCE_DIR "/packaging/tessaro.png");
    const QImage file = QImage(packaged).convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(file.isNull()) << packaged.toStdString();
    ASSERT_EQ(file.size(), drawn.size());
    int differing = 0;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            differing += file.pixel(x, y) != drawn.pixel(x, y) ? 1 : 0;
    if (differing != 0) {
        const QString fresh = QStringLiteral("tessaro.png");
        drawn.save(fresh);
        FAIL() << differing << " pixels differ; the drawn icon is in the test folder as "
               << fresh.toStdString() << ", copy it over " << packaged.toStdString();
    }
}

} // namespace
} // namespace tessaro::ui
