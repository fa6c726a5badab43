// Writes the drawn application icon as a PNG of the given size, for
// tools/make_windows_icon.sh:  app_icon_png SIZE FILE
#include "ui/app_icon.h"

#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: app_icon_png SIZE FILE\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int size = std::atoi(argv[1]);
    // Straight alpha, as the icon file stores it and the test compares it.
    const QImage image =
        tessaro::ui::AppIconPixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
    return image.save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0 : 1;
}
