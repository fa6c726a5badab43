#include "ui/text_box.h"

#include <QFocusEvent>
#include <QMouseEvent>

namespace tessaro::ui {

void TextBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // The press that gave the focus arrives after it and would put the caret
    // where the pointer is, so a handler that moves the caret must run later.
    if (event->reason() == Qt::MouseFocusReason) {
        focusByMouse_ = true;
        return;
    }
    emit GotFocus();
}

void TextBox::focusOutEvent(QFocusEvent* event) {
    if (focusByMouse_) { // focus by the mouse, but no press came to this box
        focusByMouse_ = false;
        emit GotFocus();
    }
    QLineEdit::focusOutEvent(event);
}

void TextBox::mousePressEvent(QMouseEvent* event) {
    QLineEdit::mousePressEvent(event);
    if (focusByMouse_) {
        focusByMouse_ = false;
        emit GotFocus();
    }
}

} // namespace tessaro::ui
