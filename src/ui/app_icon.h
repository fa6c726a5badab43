// The window icon of both windows: a 32 x 32 X-ray film with a bone on it,
// drawn at run time so that no image file has to travel with the program.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace tessaro::ui {

// The picture itself, size x size pixels: 32 is the window icon; the Windows
// executable's icon holds it at 16, 32, 48 and 256 (tools/make_windows_icon.sh).
QPixmap AppIconPixmap(int size = 32);

QIcon AppIcon();

} // namespace tessaro::ui
