#include "ui/text_box.h"

namespace tessaro::ui {

void TextBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    emit GotFocus();
}

} // namespace tessaro::ui
