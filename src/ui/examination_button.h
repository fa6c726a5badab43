// A button that chooses an examination: it acts when a mouse button goes down,
// reporting which one and the modifier keys as the numbers of
// selection/composer.h. Activation from the keyboard reports nothing.
// A caption too long for the button wraps onto further lines, as on a Windows
// command button; where the lines do not fit, its font steps down (down to
// 6 pt) until they do, and only then is it cut, its full text the tooltip.
#pragma once

#include <QColor>
#include <QPushButton>
#include <QStringList>

namespace tessaro::ui {

class ExaminationButton : public QPushButton {
    Q_OBJECT
public:
    ExaminationButton(int index, QWidget* parent);

    int index() const { return index_; }

    // Background shown by the button (manual buttons are highlighted by it).
    // While the button is not visible the colour is only noted and put on
    // screen when it is shown: most manual buttons are never shown, and a
    // style sheet per button is costly at start-up.
    void SetBackColor(const QColor& colour);
    QColor backColor() const { return backColor_; }

    // The caption as it is drawn, one entry a line: one line where it fits the
    // button's width, else broken after blanks and hyphens (inside a word only
    // where the word alone is too wide). The text is shown literally.
    QStringList CaptionLines() const;
    // The font the caption is drawn in: the button's, or smaller where its
    // lines would not fit the button at that.
    QFont CaptionFont() const;
    // The caption's area inside the button's frame.
    QRect CaptionRect() const;

signals:
    void MouseDown(int index, int button, int shift);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    void ApplyBackColor();
    QString Caption() const;
    QStringList LinesAt(const QFont& font) const;
    bool Fits(const QFont& font) const;

    int index_;
    QColor backColor_;
    bool backColorShown_ = true; // nothing to apply until a colour is set
};

// Qt's mouse button and modifiers as the numbers the handlers take (0 for a
// button that has no number).
int MouseButtonNumber(Qt::MouseButton button);
int ShiftState(Qt::KeyboardModifiers modifiers);

} // namespace tessaro::ui
