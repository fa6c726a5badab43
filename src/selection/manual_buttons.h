// The user-defined buttons of Bodypart.dat: "number|caption|code" per CR LF line.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace tessaro::selection::manual {

inline constexpr int kButtonCount = 66;
inline constexpr const char* kFileName = "Bodypart.dat";
// The largest Bodypart.dat read: sixty-six buttons need a few kilobytes.
inline constexpr std::size_t kMaxFileBytes = 1u << 20;
// A caption is cut to this many bytes, more than any button can show: a longer
// one would hold up every start and every press that shows it.
inline constexpr std::size_t kMaxCaptionBytes = 255;

struct Button {
    bool visible = false;
    std::string caption; // Windows-1252, shown literally
    std::string code;
};

using Buttons = std::array<Button, kButtonCount>;

// Applies the lines from first to last; the later of two lines with the same
// number wins. Lines that break the format (fewer than three fields, empty, a
// number that is not an integer in 0..65) are ignored. A file in UTF-8 (with or
// without a byte order mark) or UTF-16 is read as such; a character
// Windows-1252 lacks becomes "?". Captions are cut to kMaxCaptionBytes.
Buttons ParseManualButtons(std::string_view fileBytes);

} // namespace tessaro::selection::manual
