// The main window's OK: Enter presses it while it has the focus, as Space does
// and as a Windows command button behaves. It is never the window's default
// button, so Enter typed into a text box does not reach it.
#pragma once

#include <QPushButton>

namespace tessaro::ui {

class OkButton : public QPushButton {
    Q_OBJECT
public:
    OkButton(const QString& text, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace tessaro::ui
