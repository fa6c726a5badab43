// Window-manager behaviour of the two fixed forms: nothing offers resizing, the
// settings window opens centred over the main window, frame to frame, and the
// main window's frame stays inside the work area of its screen.
#pragma once

#include <QMargins>

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

// The frame the platform will put around the window, before it is shown. Where
// the platform draws the frame itself (Windows) it is known once the native
// window exists, so it is created here. An X11 window manager tells its frame
// only after mapping: then an estimate a little larger than common frames is
// taken, and KeepInsideWorkAreaWhenShown corrects the position. Without a
// window manager there is no frame.
QMargins ExpectedFrame(QWidget& window);

// Once the window is first on screen, a real frame that reaches out of the
// work area of its screen moves the window the least that brings it inside.
void KeepInsideWorkAreaWhenShown(QWidget& window);

} // namespace tessaro::ui
