#include "platform/single_byte_charset.h"

#include <cstring>

namespace tessaro::platform::charset {
namespace {

#include "single_byte_tables.inc"

constexpr char32_t kUndefined = 0xFFFFFFFF;

struct Named {
    const char* name;
    const char32_t* table;
};

constexpr Named kCharsets[] = {
    {"CP1252", k_CP1252},
    {"IBM437", k_IBM437},
    {"DIN_66003", k_DIN_66003},
};

} // namespace

bool ByteToUnicode(const char* charset, unsigned char byte, char32_t& cp) {
    for (const Named& c : kCharsets) {
        if (std::strcmp(c.name, charset) != 0)
            continue;
        if (c.table[byte] == kUndefined)
            return false;
        cp = c.table[byte];
        return true;
    }
    return false;
}

} // namespace tessaro::platform::charset
