#include "gdt/sequence_counter.h"

#include "platform/errors.h"
#include "platform/files.h"
#include "platform/trim.h"

#include <limits>

namespace tessaro::gdt {
std::int16_t ParseCounter(const std::string& text) {
    const std::string_view t = platform::TrimSpacesTabsAndLineEnds(text);
    std::size_t i = 0;
    const std::size_t end = t.size();
    bool negative = false;
    if (i < end && (t[i] == '+' || t[i] == '-')) {
        negative = t[i] == '-';
        ++i;
    }
    if (i == end)
        throw platform::PlatformError(platform::ErrorNumber::TypeMismatch);
    long long value = 0;
    for (; i < end; ++i) {
        if (t[i] < '0' || t[i] > '9')
            throw platform::PlatformError(platform::ErrorNumber::TypeMismatch);
        value = value * 10 + (t[i] - '0');
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

DrawnNumber NextSequenceNumber(const std::string& programDirectory) {
    DrawnNumber drawn;
    drawn.path = platform::Join(programDirectory, kCounterFileName);
    const std::string& path = drawn.path;
    std::int16_t& number = drawn.number;
    try {
        if (platform::FileExists(path)) {
            const std::int16_t last = ParseCounter(platform::ReadWholeFile(path, kMaxCounterBytes));
            // The highest number is followed by 1, so a busy practice keeps
            // counting after its 32,767th run instead of reusing 1 for ever.
            if (last != std::numeric_limits<std::int16_t>::max())
                number = static_cast<std::int16_t>(last + 1);
        }
        platform::ReplaceWholeFile(path, std::to_string(number));
    } catch (const platform::FileTooLarge&) {
        // Nothing that long is a number of ours: neither read nor overwritten,
        // so whoever put it there finds it as it was.
        drawn.problem = DrawnNumber::Problem::TooLarge;
    } catch (const platform::PlatformError& e) {
        drawn.problem = DrawnNumber::Problem::Failed;
        drawn.error = e;
    }
    return drawn;
}

} // namespace tessaro::gdt
