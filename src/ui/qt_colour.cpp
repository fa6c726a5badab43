#include "ui/qt_colour.h"

#include "ui/colour_literal.h"

namespace tessaro::ui {

namespace {

// The system colour indices that have a natural palette role; the rest fall
// back to the button face, the only one the program itself uses.
QPalette::ColorRole RoleOfSystemColour(int index) {
    switch (index) {
    case 5: // window background
        return QPalette::Base;
    case 8: // window text
        return QPalette::Text;
    case 13: // highlight
        return QPalette::Highlight;
    case 14: // highlighted text
        return QPalette::HighlightedText;
    case 18: // button text
        return QPalette::ButtonText;
    case 15: // button face
    default:
        return QPalette::Button;
    }
}

} // namespace

QColor ToQColor(std::uint32_t value, const QPalette& palette) {
    if (ui::colour::IsSystemColour(value))
        return palette.color(QPalette::Active,
                             RoleOfSystemColour(ui::colour::SystemColourIndex(value)));
    return QColor(ui::colour::Red(value), ui::colour::Green(value), ui::colour::Blue(value));
}

QColor ColourFromLiteral(std::string_view literal, const QPalette& palette) {
    return ToQColor(ui::colour::FromLiteral(literal), palette);
}

} // namespace tessaro::ui
