// A 64-bit FNV-1a over byte strings one after the other: enough to tell a
// torn or foreign record, or another file of the same size, from ours.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace tessaro::platform {

inline std::uint64_t Fnv1a(std::initializer_list<std::string_view> parts) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const std::string_view part : parts)
        for (const char c : part) {
            hash ^= static_cast<unsigned char>(c);
            hash *= 1099511628211ull;
        }
    return hash;
}

} // namespace tessaro::platform
