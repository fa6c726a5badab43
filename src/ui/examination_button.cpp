#include "ui/examination_button.h"

#include "selection/composer.h"

#include <QMouseEvent>

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
