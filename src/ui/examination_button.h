// A button that chooses an examination: it acts when a mouse button goes down,
// reporting which one (1 left, 2 right, 4 middle) and the modifier keys
// (1 Shift, 2 Ctrl, 4 Alt). Activation from the keyboard reports nothing.
#pragma once

#include <QColor>
#include <QPushButton>

namespace tessaro::ui {

class ExaminationButton : public QPushButton {
    Q_OBJECT
public:
    ExaminationButton(int index, QWidget* parent);

    int index() const { return index_; }

    // Background shown by the button (manual buttons are highlighted by it).
    void setBackColor(const QColor& colour);
    QColor backColor() const { return backColor_; }

signals:
    void mouseDown(int index, int button, int shift);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    int index_;
    QColor backColor_;
};

// Qt's mouse button and modifiers as the numbers the handlers take (0 for a
// button that has no number).
int MouseButtonNumber(Qt::MouseButton button);
int ShiftState(Qt::KeyboardModifiers modifiers);

} // namespace tessaro::ui
