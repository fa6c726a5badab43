// The window icon of both windows: a 32 x 32 X-ray film with a bone on it,
// drawn at run time so that no image file has to travel with the program.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace tessaro::ui {

// The 32 x 32 picture itself (for tests and for the icon).
QPixmap AppIconPixmap();

QIcon AppIcon();

} // namespace tessaro::ui
