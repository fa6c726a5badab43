// Window-manager behaviour of the two fixed forms: nothing offers resizing, and
// the settings window opens centred over the main window, frame to frame.
#pragma once

class QWidget;

namespace tessaro::ui {

// The window's Motif hints offer moving and closing only, with a border, a
// title and a window menu but no resize handles and no maximize box. Qt's X11
// platform always writes "resize" into them (functions 0x26, decorations 0x1E),
// and a window manager that follows them draws a resizable border. Rewritten
// each time the window is shown, before it is mapped; elsewhere nothing.
void KeepFixedForWindowManager(QWidget& window);

// Each time the window is shown, its frame is centred over the frame of the
// window that owns it (its parent's window). Until it is mapped its own frame is
// unknown and taken to be like the owner's, which the same window manager
// decorates; once it is on screen the real frame corrects the position.
void CentreOverOwnerWhenShown(QWidget& window);

} // namespace tessaro::ui
