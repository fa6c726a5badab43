// The icon the desktop menu shows (packaging/tessaro.png) is the program's own
// window icon, so the two cannot drift apart.
#include "ui/app_icon.h"

#include <QImage>
#include <QImageReader>
#include <gtest/gtest.h>
#include <map>

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

// The Windows executable's icon (packaging/windows/tessaro.ico) is the same
// drawing at each of its sizes.
TEST(AppIcon, WindowsIconIsTheDrawnIcon) {
    const QString packaged = QStringLiteral(TESSARO_SOURCE_DIR "/packaging/windows/tessaro.ico");
    QImageReader reader(packaged);
    std::map<int, QImage> images;
    for (int i = 0; i < reader.imageCount(); ++i) {
        ASSERT_TRUE(reader.jumpToImage(i));
        const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
        images[image.width()] = image;
    }
    ASSERT_EQ(images.size(), 4u) << packaged.toStdString() << " (Qt's ico plugin missing?)";
    for (const int size : {16, 32, 48, 256}) {
        SCOPED_TRACE(size);
        ASSERT_EQ(images.count(size), 1u);
        const QImage& file = images[size];
        const QImage drawn = AppIconPixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(file.size(), drawn.size());
        int differing = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                differing += file.pixel(x, y) != drawn.pixel(x, y) ? 1 : 0;
        EXPECT_EQ(differing, 0) << "run tools/make_windows_icon.sh";
    }
}

} // namespace
} // namespace tessaro::ui
