// The per-run sequence number kept in GDTcount.txt beside the program.
#pragma once

#include "platform/errors.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tessaro::gdt {

inline constexpr const char* kCounterFileName = "GDTcount.txt";
// The longest counter file read: room for any 16-bit number with blanks and a
// line end around it.
inline constexpr std::size_t kMaxCounterBytes = 40;

// The number drawn for a run, and what went wrong on the way, for the window
// to say: the number is drawn all the same.
struct DrawnNumber {
    std::int16_t number = 1;
    enum class Problem {
        None,
        TooLarge, // over kMaxCounterBytes: neither read nor written, the number is 1
        Failed,   // error says what; the number is what could be drawn
    } problem = Problem::None;
    std::optional<platform::PlatformError> error;
    std::string path; // the counter file
};

// Draws the number for this run and rewrites the counter file (digits, no line
// end). After 32767 comes 1. A file over kMaxCounterBytes is left as it is;
// the number is then 1. Never throws.
DrawnNumber NextSequenceNumber(const std::string& programDirectory);

// The text-to-number conversion of the counter file: optional blanks, optional
// sign, decimal digits, optional blanks. Throws platform::PlatformError (TypeMismatch for
// no number, Overflow outside the 16-bit range).
std::int16_t ParseCounter(const std::string& text);

} // namespace tessaro::gdt
