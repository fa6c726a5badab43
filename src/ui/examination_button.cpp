#include "ui/examination_button.h"

#include "selection/composer.h"
#include "ui/caption_fit.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextLayout>
#include <QToolTip>
#include <algorithm>

namespace tessaro::ui {

ExaminationButton::ExaminationButton(int index, QWidget* parent)
    : QPushButton(parent), index_(index) {
    setAutoDefault(false);
    setDefault(false);
}

void ExaminationButton::SetBackColor(const QColor& colour) {
    backColor_ = colour;
    backColorShown_ = false;
    if (isVisible())
        ApplyBackColor();
}

void ExaminationButton::showEvent(QShowEvent* event) {
    if (!backColorShown_)
        ApplyBackColor();
    QPushButton::showEvent(event);
}

void ExaminationButton::ApplyBackColor() {
    backColorShown_ = true;
    QPalette p = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::Button, backColor_);
    setPalette(p);
    // The style's gradient would wash a light highlight out; a graphical button
    // shows its colour as a flat face.
    setStyleSheet(QStringLiteral("QPushButton { background-color: %1; border: 1px solid #8a8a8a;"
                                 " border-radius: 2px; padding: 2px; }"
                                 " QPushButton:focus { border: 1px solid #303030; }"
                                 " QPushButton:pressed { border: 2px inset #606060; }")
                      .arg(backColor_.name()));
}

QRect ExaminationButton::CaptionRect() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
}

QString ExaminationButton::Caption() const {
    // Captions are set with every "&" doubled, so that none becomes a mnemonic.
    QString caption = text();
    caption.replace(QLatin1String("&&"), QLatin1String("&"));
    return caption;
}

QStringList ExaminationButton::CaptionLines() const {
    return LinesAt(CaptionFont());
}

QFont ExaminationButton::CaptionFont() const {
    return FittingFont(font(), [this](const QFont& f) { return Fits(f); });
}

bool ExaminationButton::Fits(const QFont& f) const {
    const QRect area = CaptionRect();
    const QFontMetrics metrics(f);
    const QStringList lines = LinesAt(f);
    if (metrics.height() * static_cast<int>(lines.size()) > area.height())
        return false;
    return std::all_of(lines.begin(), lines.end(), [&](const QString& line) {
        return metrics.horizontalAdvance(line) <= area.width();
    });
}

QStringList ExaminationButton::LinesAt(const QFont& f) const {
    const QString caption = Caption();
    const int width = CaptionRect().width();
    if (caption.isEmpty() || QFontMetrics(f).horizontalAdvance(caption) <= width)
        return {caption};
    QTextLayout layout(caption, f);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        QString piece = caption.mid(line.textStart(), line.textLength());
        // The blank a line was broken at is not drawn; it would push the line
        // off centre.
        while (piece.endsWith(QLatin1Char(' ')))
            piece.chop(1);
        lines << piece;
    }
    layout.endLayout();
    return lines;
}

void ExaminationButton::paintEvent(QPaintEvent* event) {
    const QFont captionFont = CaptionFont();
    const QStringList lines = LinesAt(captionFont);
    if (lines.size() <= 1 && captionFont == font()) {
        QPushButton::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    // The lines centred as a block, each line centred, as a Windows button does.
    QRect area = CaptionRect();
    if (isDown())
        area.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    painter.setFont(captionFont);
    const int lineHeight = QFontMetrics(captionFont).height();
    int top = area.top() + (area.height() - lineHeight * static_cast<int>(lines.size())) / 2;
    painter.setClipRect(area);
    for (const QString& line : lines) {
        // Without a mnemonic flag the text is drawn as it stands, "&" included.
        style()->drawItemText(&painter, QRect(area.left(), top, area.width(), lineHeight),
                              Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, palette(),
                              isEnabled(), line, QPalette::ButtonText);
        top += lineHeight;
    }
}

bool ExaminationButton::event(QEvent* event) {
    // Cut even at the smallest font: the whole caption on hovering.
    if (event->type() == QEvent::ToolTip) {
        if (!Fits(CaptionFont())) {
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), Caption(), this);
            return true;
        }
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    return QPushButton::event(event);
}

void ExaminationButton::mousePressEvent(QMouseEvent* event) {
    const int button = MouseButtonNumber(event->button());
    // The base class first, so the button looks pressed and takes the focus
    // before the handler runs (a handler may open a message box).
    QPushButton::mousePressEvent(event);
    if (button != 0)
        emit MouseDown(index_, button, ShiftState(event->modifiers()));
}

int MouseButtonNumber(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return selection::kLeft;
    case Qt::RightButton:
        return selection::kRight;
    case Qt::MiddleButton:
        return selection::kMiddle;
    default:
        return 0;
    }
}

int ShiftState(Qt::KeyboardModifiers modifiers) {
    int shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= selection::kShift;
    if (modifiers & Qt::ControlModifier)
        shift |= selection::kCtrl;
    if (modifiers & Qt::AltModifier)
        shift |= selection::kAlt;
    return shift;
}

} // namespace tessaro::ui
