#include "ui/app_icon.h"

#include <QPainter>
#include <QPainterPath>

namespace tessaro::ui {

namespace {

// One bone end: two knuckles side by side.
void Knuckles(QPainter& p, QPointF centre, QPointF across, double radius) {
    p.drawEllipse(centre + across, radius, radius);
    p.drawEllipse(centre - across, radius, radius);
}

} // namespace

QPixmap AppIconPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // Designed on a 32 px grid; other sizes are the same drawing scaled.
    const auto toGrid = [&p, size] {
        p.resetTransform();
        if (size != 32)
            p.scale(size / 32.0, size / 32.0);
    };
    toGrid();

    // The film: a dark blue-grey sheet with a lighter frame and a cut corner.
    QPainterPath film;
    film.moveTo(3.5, 2.5);
    film.lineTo(24.5, 2.5);
    film.lineTo(28.5, 6.5);
    film.lineTo(28.5, 29.5);
    film.lineTo(3.5, 29.5);
    film.closeSubpath();
    QLinearGradient sheet(0, 0, 32, 32);
    sheet.setColorAt(0.0, QColor(0x2b, 0x3f, 0x55));
    sheet.setColorAt(1.0, QColor(0x10, 0x1a, 0x26));
    p.setPen(QPen(QColor(0x8f, 0xa8, 0xc0), 1.0));
    p.setBrush(sheet);
    p.drawPath(film);

    // The bone, diagonal, glowing pale as it does on a light box.
    p.translate(16, 16);
    p.rotate(-45);
    const QColor bone(0xee, 0xf4, 0xf8);
    p.setPen(Qt::NoPen);
    p.setBrush(bone);
    p.drawRoundedRect(QRectF(-7.5, -2.0, 15, 4.0), 1.5, 1.5);
    Knuckles(p, QPointF(-8.0, 0), QPointF(0, 2.4), 2.7);
    Knuckles(p, QPointF(8.0, 0), QPointF(0, 2.4), 2.7);
    toGrid();

    // A small green marker dot, like the side marker on a film.
    p.setBrush(QColor(0x7c, 0xd9, 0x7c));
    p.drawEllipse(QPointF(8.0, 7.5), 2.0, 2.0);
    p.end();
    return pixmap;
}

QIcon AppIcon() {
    static const QIcon icon(AppIconPixmap());
    return icon;
}

} // namespace tessaro::ui
