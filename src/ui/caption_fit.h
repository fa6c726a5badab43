// Captions that never lose text: where a caption does not fit its control at
// the layout's font (a shrunk window, a wider substitute of Tahoma, a long
// user-defined caption), the font steps down a quarter point at a time, to a
// floor of 6 pt. Only below the floor is the caption cut; its full text then
// stays the tooltip, and it is always the accessible name.
#pragma once

#include <QFont>
#include <QString>
#include <functional>

class QWidget;

namespace tessaro::ui {

inline constexpr double kCaptionFloorPoints = 6.0;

// The largest font from font down to the floor at which fits holds; the
// floor's when none does.
QFont FittingFont(QFont font, const std::function<bool(const QFont&)>& fits);

// A label's, check box's, frame's or push button's caption on one line within
// the control as it is placed: its font fitted, tooltip and accessible name set.
void FitCaption(QWidget& control);

} // namespace tessaro::ui
