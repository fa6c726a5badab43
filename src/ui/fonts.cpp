#include "ui/fonts.h"

#include <QFile>
#include <QFontDatabase>

namespace tessaro::ui {

namespace {

QString ResolveFamily() {
    if (QFontDatabase::families().contains(QStringLiteral("Tahoma")))
        return QStringLiteral("Tahoma");
    // fonts-wine installs Tahoma outside fontconfig's directories. Its tahomabd.ttf
    // is the regular outline spaced wider, not a bold one, so only the regular
    // face is registered and Qt emboldens it where a bold font is asked for.
    const QString file = QStringLiteral("/usr/share/wine/fonts/tahoma.ttf");
    QString family;
    if (QFile::exists(file)) {
        const QStringList names =
            QFontDatabase::applicationFontFamilies(QFontDatabase::addApplicationFont(file));
        if (!names.isEmpty())
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
