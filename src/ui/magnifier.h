// The 16 x 16 magnifying glass shown on the two browse buttons of the settings window.
#pragma once

#include <QPixmap>

namespace tessaro::ui {

QPixmap MagnifyingGlass();

} // namespace tessaro::ui
