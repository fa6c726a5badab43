// One byte of a single-byte charset as a code point. On Linux glibc's iconv
// answers; on Windows, which has no iconv and lacks DIN 66003 in some
// versions, tables generated from the build machine's iconv do, so both
// builds decode every byte alike.
#pragma once

namespace tessaro::platform::charset {

// charset as iconv names it ("CP1252", "IBM437", "DIN_66003"). False when the
// charset leaves the byte undefined or is not known here; cp is then untouched.
bool ByteToUnicode(const char* charset, unsigned char byte, char32_t& cp);

} // namespace tessaro::platform::charset
