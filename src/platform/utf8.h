// The UTF-8 primitives both codecs share: one well-formed sequence decoded, one
// code point appended.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tessaro::platform::utf8 {

// Length of the well-formed UTF-8 sequence at s[i] with its code point, or 0
// (overlong forms, surrogates and truncated sequences are not well-formed).
std::size_t SequenceAt(std::string_view s, std::size_t i, char32_t& cp);

// Appends cp; code points UTF-8 cannot carry become U+FFFD.
void Append(std::string& out, char32_t cp);

// Well-formed throughout, and at least one sequence of more than one byte: pure
// ASCII says nothing about the encoding and is taken for Windows-1252.
bool IsMultiByte(std::string_view bytes);

} // namespace tessaro::platform::utf8
