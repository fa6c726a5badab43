// FormatGdtLine with any identifier and content: the length field counts the
// bytes of the line, and the reading rule gives back identifier and content.
#include "fuzz_input.h"
#include "gdt/gdt_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaro::gdt;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // Four bytes of identifier as the system always passes, the rest content.
    const std::string_view field = input.substr(0, 4);
    const std::string_view content = input.substr(field.size());

    std::string line;
    try {
        line = FormatGdtLine(field, content);
    } catch (const ContentTooLong&) {
        tessaro::fuzz::Check(content.size() > kMaxContentLength, "refused a content that fits");
        return 0;
    }
    tessaro::fuzz::Check(content.size() <= kMaxContentLength, "accepted an over-long content");
    if (content.empty()) {
        tessaro::fuzz::Check(line.empty(), "empty content produced a line");
        return 0;
    }
    tessaro::fuzz::Check(line.size() >= field.size() + 6 &&
                             line.compare(line.size() - 2, 2, "\r\n") == 0,
                         "line does not end in CR LF");
    const std::string digits = line.substr(0, 3);
    tessaro::fuzz::Check(digits.find_first_not_of("0123456789") == std::string::npos,
                         "length field is not three digits", line);
    const std::size_t declared = std::stoul(digits);
    tessaro::fuzz::Check(declared == content.size() + 9, "length field is not content + 9", line);
    if (field.size() == 4) {
        tessaro::fuzz::Check(declared == line.size(), "length field differs from the bytes", line);
        tessaro::fuzz::Check(FieldId(line) == field, "identifier not at 4 to 7");
        // A CR LF of the caller's own splits the line; the system never passes one.
        if ((std::string(field) + std::string(content)).find("\r\n") == std::string::npos) {
            const auto pieces = SplitLines(line);
            tessaro::fuzz::Check(pieces.size() == 2 && pieces[1].empty() &&
                                     Content(pieces[0]) == content,
                                 "the line does not read back as one field");
        }
    }
    return 0;
}
