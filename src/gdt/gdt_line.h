// The GDT line: length (3 digits), field identifier (4), content, CR LF. The one
// place where GDT lines are built and taken apart.
#pragma once

#include <cstddef>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tessaro::gdt {

// Longest content a three-digit length field can carry (990 + 9 = 999).
inline constexpr std::size_t kMaxContentLength = 990;

class ContentTooLong : public std::length_error {
public:
    using std::length_error::length_error;
};

// The complete line including CR LF, or "" when content is empty. The field
// identifier goes in unchanged. Throws ContentTooLong above kMaxContentLength.
std::string FormatGdtLine(std::string_view field, std::string_view content);

// Cuts a text into lines at every CR LF. "" gives no lines; a text ending in
// CR LF gives an empty last piece. Lone CR or LF stay inside a line.
std::vector<std::string_view> SplitLines(std::string_view text);

// The same pieces as SplitLines, handed to f one by one without building the
// list, so that a request of megabytes is taken apart as fast as it is read.
// Stops early when f returns false.
template <typename F> void ForEachLine(std::string_view text, F&& f) {
    if (text.empty())
        return;
    std::size_t start = 0;
    std::size_t from = 0;
    for (;;) {
        const void* cr = std::memchr(text.data() + from, '\r', text.size() - from);
        if (cr == nullptr) {
            f(text.substr(start));
            return;
        }
        const auto at = static_cast<std::size_t>(static_cast<const char*>(cr) - text.data());
        if (at + 1 < text.size() && text[at + 1] == '\n') {
            if (!f(text.substr(start, at - start)))
                return;
            start = at + 2;
        }
        from = at + 1;
    }
}

// Characters 4 to 7, or "" for a line shorter than seven characters.
std::string_view FieldId(std::string_view line);
// Characters 8 to the end ("" for a short line).
std::string_view Content(std::string_view line);

} // namespace tessaro::gdt
