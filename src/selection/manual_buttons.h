// The user-defined buttons of Bodypart.dat: "number|caption|code" per CR LF line.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace tessaro::selection::manual {

inline constexpr int kButtonCount = 66;
inline constexpr const char* kFileName = "Bodypart.dat";

struct Button {
    bool visible = false;
    std::string caption; // Windows-1252, shown literally
    std::string code;
};

using Buttons = std::array<Button, kButtonCount>;

// Applies the lines from first to last; the later of two lines with the same
// number wins. Lines that break the format (fewer than three fields, empty, a
// number that is not an integer in 0..65) are ignored.
Buttons ParseManualButtons(std::string_view fileBytes);

} // namespace tessaro::selection::manual
