// Colour values (0x00BBGGRR, top bit = system colour index) as Qt colours; the
// system colours come from the palette, so button face follows the theme.
#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>
#include <string_view>

namespace tessaro::ui {

QColor ToQColor(std::uint32_t value, const QPalette& palette);

// A colour literal such as "&H00C0FFC0" straight to a Qt colour.
QColor ColourFromLiteral(std::string_view literal, const QPalette& palette);

} // namespace tessaro::ui
