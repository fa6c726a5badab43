// What the operator reads of a request: panel contents decoded from the charset
// the file declares in field 9206, for display only. The bytes themselves
// (RequestText, the target file, every comparison) are never touched.
#pragma once

#include <string>
#include <string_view>

namespace tessaro::gdt {

// Values of field 9206: "1" DIN 66003 German 7-bit, "2" IBM code page 437,
// "3" ISO 8859-1, which like every other value or none is read as Windows-1252.
enum class DisplayCharset { Din66003, Ibm437, Windows1252 };

// The charset a request declares, read the way the import reads the panels:
// lines cut at CR LF, identifier at characters 4 to 7, the last 9206 line wins,
// its content compared exactly. A file with LF-only line ends is one line whose
// content runs to its end, so such a file declares nothing, as for the import.
DisplayCharset DeclaredCharset(std::string_view requestText);

// The charset the names are shown in: the declared one when the request has a
// 9206 line. Without one, practice systems send Windows-1252 or IBM437 alike,
// so the bytes decide: IBM437's German letters (81 84 94 8E 99 9A E1) and none
// of Windows-1252's (E4 F6 FC C4 D6 DC DF) mean IBM437, anything else, and a
// request that is UTF-8 as a whole, stays Windows-1252.
DisplayCharset RequestDisplayCharset(std::string_view requestText);

// Bytes of a panel (prefix and content) -> UTF-8 for display. Content that is
// well-formed UTF-8 with a multi-byte sequence is shown as UTF-8 whatever the
// declaration says: a real DIN 66003, IBM437 or Windows-1252 name practically
// never forms one.
std::string DecodeForDisplay(std::string_view bytes, DisplayCharset charset);

// Upper case of decoded display text, the same as the Windows-1252 per-byte rule
// for every character Windows-1252 holds (so ß and µ stay); others are kept.
std::string UpperForDisplay(std::string_view utf8);

} // namespace tessaro::gdt
