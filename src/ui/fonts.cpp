#include "ui/fonts.h"

#include <QFile>
#include <QFontDatabase>

namespace tessaro::ui {

namespace {

QString ResolveFamily() {
    if (QFontDatabase::families().contains(QStringLiteral("Tahoma")))
        return QStringLiteral("Tahoma");
    // fonts-wine installs Tahoma outside fontconfig's directories.
    const char* files[] = {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"};
    QString family;
    for (const char* file : files) {
        if (!QFile::exists(QString::fromLatin1(file)))
            continue;
        const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(file));
        const QStringList names = QFontDatabase::applicationFontFamilies(id);
        if (family.isEmpty() && !names.isEmpty())
            family = names.first();
    }
    return family.isEmpty() ? QStringLiteral("DejaVu Sans") : family;
}

} // namespace

QString TahomaFamily() {
    static const QString family = ResolveFamily();
    return family;
}

QFont Tahoma(double pointSize, bool bold) {
    QFont font(TahomaFamily());
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

} // namespace tessaro::ui
