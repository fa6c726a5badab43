#include "ui/colour_literal.h"

namespace tessaro::ui::colour {

std::uint32_t FromLiteral(std::string_view literal) {
    if (literal.size() >= 2 && literal[0] == '&' && (literal[1] == 'H' || literal[1] == 'h'))
        literal.remove_prefix(2);
    if (!literal.empty() && literal.back() == '&')
        literal.remove_suffix(1);
    std::uint32_t value = 0;
    int digits = 0;
    for (char c : literal) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else
            break;
        if (++digits > 8)
            break;
        value = (value << 4) | static_cast<std::uint32_t>(d);
    }
    return value;
}

} // namespace tessaro::ui::colour
