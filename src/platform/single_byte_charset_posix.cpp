#include "platform/single_byte_charset.h"

#include <cstddef>
#include <cstdint>
#include <iconv.h>

namespace tessaro::platform::charset {

bool ByteToUnicode(const char* charset, unsigned char byte, char32_t& cp) {
    iconv_t cd = iconv_open("UTF-32LE", charset);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    char in = static_cast<char>(byte);
    unsigned char out[4] = {};
    char* inPtr = &in;
    char* outPtr = reinterpret_cast<char*>(out);
    std::size_t inLeft = 1;
    std::size_t outLeft = sizeof out;
    const bool ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1) &&
                    outLeft == 0;
    iconv_close(cd);
    if (ok)
        // Each byte widened before it is shifted: shifted as int, the top one
        // could reach the sign bit.
        cp = static_cast<char32_t>(std::uint32_t{out[0]} | std::uint32_t{out[1]} << 8 |
                                   std::uint32_t{out[2]} << 16 | std::uint32_t{out[3]} << 24);
    return ok;
}

} // namespace tessaro::platform::charset
