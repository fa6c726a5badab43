// The longest the program may hold the operator up: one second of work. Builds
// without optimisation or with sanitizers run the same code several times
// slower; there the tests prove what happens, and the optimised build proves
// how fast, so they get a wider margin.
#pragma once

#include <chrono>
#ifndef _WIN32
#include <time.h>
#endif

namespace tessaro::test {

#if defined(__SANITIZE_ADDRESS__) || !defined(__OPTIMIZE__)
inline constexpr bool kSlowBuild = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(undefined_behavior_sanitizer)
inline constexpr bool kSlowBuild = true;
#else
inline constexpr bool kSlowBuild = false;
#endif
#else
inline constexpr bool kSlowBuild = false;
#endif

inline constexpr std::chrono::milliseconds kFreezeLimit{kSlowBuild ? 10000 : 1000};

// Measures the processor time (user and system) this process spends, which
// is what the code under test costs however busy the machine is otherwise:
// wall-clock time would count the tests and builds running beside it. The
// Windows build, run once under Wine, takes wall-clock time.
class ProcessorStopwatch {
public:
    ProcessorStopwatch() : start_(Now()) {}
    std::chrono::milliseconds Elapsed() const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(Now() - start_);
    }

private:
    static std::chrono::nanoseconds Now() {
#ifdef _WIN32
        return std::chrono::steady_clock::now().time_since_epoch();
#else
        timespec t{};
        ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
#endif
    }

    std::chrono::nanoseconds start_;
};

} // namespace tessaro::test
