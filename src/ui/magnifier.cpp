#include "ui/magnifier.h"

#include <QPainter>

namespace tessaro::ui {

QPixmap MagnifyingGlass() {
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);

    // Handle first, so the rim covers its inner end.
    p.setPen(QPen(QColor(0x5a, 0x3a, 0x1e), 3.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.0, 10.0), QPointF(14.0, 14.0));

    // Lens: pale blue glass with a highlight, dark rim.
    const QRectF lens(1.5, 1.5, 10.0, 10.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xcf, 0xe8, 0xff));
    p.drawEllipse(lens);
    p.setPen(QPen(QColor(Qt::white), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(lens.adjusted(2.0, 2.0, -2.0, -2.0), 100 * 16, 70 * 16);
    p.setPen(QPen(QColor(0x20, 0x20, 0x20), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(lens);
    return picture;
}

} // namespace tessaro::ui
