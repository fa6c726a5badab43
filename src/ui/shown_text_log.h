// A test hook for the end-to-end runs under Xvfb, which cannot read the screen:
// with TESSARO_LOG_MESSAGES=1 (the switch that also logs message box texts)
// every popup menu and every dialog other than a message box writes its texts
// to stderr, one UTF-8 line, as it is shown:
//   tessaro: menu: <entry> | <entry> | ...
//   tessaro: dialog "<title>": <text> | <text> | ...
// and every main window, as it is shown, the scale of its layout (the fit
// factor, the screen's logical dpi and its device pixels per logical pixel)
// and the lines of every visible examination button whose caption wraps:
//   tessaro: window frmMain: factor 0.887 dpi 96 ratio 1.5
//   tessaro: button cmdManual(0): <line> | <line>
// A dialog's texts are those of its visible labels, buttons (the tool tip when a
// button has no text) and combo boxes, in the order the widgets were created.
// Off by default: the operator's program keeps no log.
#pragma once

class QCoreApplication;

namespace tessaro::ui {

// Installs the hook on the application when the switch is set; else nothing.
void InstallShownTextLogIfWanted(QCoreApplication& application);

} // namespace tessaro::ui
