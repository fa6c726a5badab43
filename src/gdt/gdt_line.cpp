#include "gdt/gdt_line.h"

#include <cstdio>

namespace tessaro::gdt {

std::string FormatGdtLine(std::string_view field, std::string_view content) {
    if (content.empty())
        return {};
    if (content.size() > kMaxContentLength)
        throw ContentTooLong("GDT content longer than 990 characters");
    char length[8];
    std::snprintf(length, sizeof length, "%03zu", content.size() + 9);
    std::string line;
    line.reserve(content.size() + field.size() + 5);
    line += length;
    line += field;
    line += content;
    line += "\r\n";
    return line;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    ForEachLine(text, [&](std::string_view line) {
        lines.push_back(line);
        return true;
    });
    return lines;
}

std::string_view FieldId(std::string_view line) {
    return line.size() < 7 ? std::string_view() : line.substr(3, 4);
}

std::string_view Content(std::string_view line) {
    return line.size() < 7 ? std::string_view() : line.substr(7);
}

} // namespace tessaro::gdt
