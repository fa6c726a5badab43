// The longest the program may hold the operator up: one second. Builds
// without optimisation or with sanitizers run the same code several times
// slower; there the tests prove what happens, and the optimised build proves
// how fast, so they get a wider margin.
#pragma once

#include <chrono>

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

} // namespace tessaro::test
