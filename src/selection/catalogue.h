// The fixed catalogue of quick buttons: 53 examinations in four groups.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace tessaro::selection::catalogue {

struct Entry {
    std::int16_t index; // into cmdQB, 0..57
    int group;          // 1..4
    const char* caption; // Windows-1252
    const char* code;    // verbatim, trailing blanks included; "" for none
    int left;            // twips, inside the group's button panel
    int top;
};

inline constexpr int kButtonWidth = 1635; // twips
inline constexpr int kButtonHeight = 420;
inline constexpr int kHighestIndex = 57;

std::span<const Entry> Entries();
const Entry* Find(int index);

// Enabled at start exactly when the code is non-empty.
inline bool EnabledAtStart(const Entry& e) { return e.code[0] != '\0'; }

} // namespace tessaro::selection::catalogue
