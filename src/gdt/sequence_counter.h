// The per-run sequence number kept in GDTcount.txt beside the program.
#pragma once

#include <cstdint>
#include <string>

#include "platform/message_box.h"

namespace tessaro::gdt {

inline constexpr const char* kCounterFileName = "GDTcount.txt";

// Draws the number for this run and rewrites the counter file (digits, no line
// end). Failures are reported ("Es ist ein Fehler aufgetreten." number " - "
// description, no line break) and the function returns normally.
std::int16_t NextSequenceNumber(const std::string& programDirectory, platform::MessageBox& messages);

// The text-to-number conversion of the counter file: optional blanks, optional
// sign, decimal digits, optional blanks. Throws platform::PlatformError (TypeMismatch for
// no number, Overflow outside the 16-bit range).
std::int16_t ParseCounter(const std::string& text);

} // namespace tessaro::gdt
