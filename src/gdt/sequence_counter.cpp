#include "gdt/sequence_counter.h"

#include "platform/codec.h"
#include "platform/errors.h"
#include "platform/files.h"

#include <limits>

namespace tessaro::gdt {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

} // namespace

std::int16_t ParseCounter(const std::string& text) {
    std::size_t i = 0;
    std::size_t end = text.size();
    while (i < end && IsBlank(text[i]))
        ++i;
    while (end > i && IsBlank(text[end - 1]))
        --end;
    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == end)
        throw platform::PlatformError(platform::ErrorNumber::TypeMismatch);
    long long value = 0;
    for (; i < end; ++i) {
        if (text[i] < '0' || text[i] > '9')
            throw platform::PlatformError(platform::ErrorNumber::TypeMismatch);
        value = value * 10 + (text[i] - '0');
        if (value > 100000) // far outside the range already; stop before it can wrap
            value = 100000;
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max())
        throw platform::PlatformError(platform::ErrorNumber::Overflow);
    return static_cast<std::int16_t>(value);
}

std::int16_t NextSequenceNumber(const std::string& programDirectory, platform::MessageBox& messages) {
    const std::string path = platform::Join(programDirectory, kCounterFileName);
    std::int16_t number = 1;
    try {
        if (platform::FileExists(path)) {
            const std::int16_t last = ParseCounter(platform::ReadWholeFile(path));
            if (last == std::numeric_limits<std::int16_t>::max())
                throw platform::PlatformError(platform::ErrorNumber::Overflow);
            number = static_cast<std::int16_t>(last + 1);
        }
        platform::ReplaceWholeFile(path, std::to_string(number));
    } catch (const platform::PlatformError& e) {
        messages.ShowError(platform::cp1252::Ansi("Es ist ein Fehler aufgetreten.") +
                           std::to_string(e.Number()) + " - " + e.Description());
    }
    return number;
}

} // namespace tessaro::gdt
