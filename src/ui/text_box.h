// A single-line text box that reports when it has received the focus, after
// its own focus handling (which may have selected the text) is done; focus by a
// mouse press is reported once the press has placed the caret.
#pragma once

#include <QLineEdit>

namespace tessaro::ui {

class TextBox : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

signals:
    void GotFocus();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool focusByMouse_ = false;
};

} // namespace tessaro::ui
