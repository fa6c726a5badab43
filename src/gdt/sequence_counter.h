// The per-run sequence number kept in GDTcount.txt beside the program.
#pragma once

#include "platform/message_box.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace tessaro::gdt {

inline constexpr const char* kCounterFileName = "GDTcount.txt";
// The longest counter file read: room for any 16-bit number with blanks and a
// line end around it.
inline constexpr std::size_t kMaxCounterBytes = 40;

// Draws the number for this run and rewrites the counter file (digits, no line
// end). After 32767 comes 1. A file over kMaxCounterBytes is reported by name
// and left as it is; the number is then 1. Other failures are reported ("Es ist ein Fehler
// aufgetreten." number " - " description, no line break) and the function returns normally.
std::int16_t NextSequenceNumber(const std::string& programDirectory,
                                platform::OperatorMessages& messages);

// The text-to-number conversion of the counter file: optional blanks, optional
// sign, decimal digits, optional blanks. Throws platform::PlatformError (TypeMismatch for
// no number, Overflow outside the 16-bit range).
std::int16_t ParseCounter(const std::string& text);

} // namespace tessaro::gdt
