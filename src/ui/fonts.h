// Tahoma for every window: the installed one if fontconfig knows it, otherwise the
// copy Debian's fonts-wine ships, otherwise DejaVu Sans.
#pragma once

#include <QFont>
#include <QString>

namespace tessaro::ui {

// Registers the fallback files once; returns the family name to use.
QString TahomaFamily();

// Tahoma at a point size of the layout tables (8.25, 9.75, 14.25, 26.25 ...).
QFont Tahoma(double pointSize, bool bold = false);

} // namespace tessaro::ui
