#include "ui/caption_fit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>

namespace tessaro::ui {
namespace {

QString CaptionOf(const QWidget& control) {
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(&control))
        return label->text();
    if (const auto* frame = qobject_cast<const QGroupBox*>(&control))
        return frame->title();
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) {
        // Captions are set with every "&" doubled, so that none is a mnemonic.
        text = button->text();
        text.replace(QLatin1String("&&"), QLatin1String("&"));
    }
    return text;
}

// The width the caption has in the control: a check box's less its box, a
// button's less its frame, a frame's less the corners of its border.
int RoomFor(const QWidget& control) {
    if (const auto* box = qobject_cast<const QCheckBox*>(&control)) {
        QStyleOptionButton option;
        option.initFrom(box);
        const int indicator =
            box->style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, box) +
            box->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, box);
        return control.width() - indicator;
    }
    if (qobject_cast<const QAbstractButton*>(&control) != nullptr) {
        const int margin = control.style()->pixelMetric(QStyle::PM_ButtonMargin) +
                           2 * control.style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
        return control.width() - margin;
    }
    if (qobject_cast<const QGroupBox*>(&control) != nullptr)
        return control.width() - 16;
    return control.contentsRect().width();
}

} // namespace

QFont FittingFont(QFont font, const std::function<bool(const QFont&)>& fits) {
    while (!fits(font) && font.pointSizeF() > kCaptionFloorPoints)
        font.setPointSizeF(std::max(kCaptionFloorPoints, font.pointSizeF() - 0.25));
    return font;
}

void FitCaption(QWidget& control) {
    const QString caption = CaptionOf(control);
    const int room = RoomFor(control);
    const auto fits = [&](const QFont& f) {
        return QFontMetrics(f).horizontalAdvance(caption) <= room;
    };
    const QFont fitted = FittingFont(control.font(), fits);
    if (fitted != control.font())
        control.setFont(fitted);
    control.setAccessibleName(caption);
    control.setToolTip(fits(fitted) ? QString() : caption);
}

} // namespace tessaro::ui
