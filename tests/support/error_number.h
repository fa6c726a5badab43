// The number of the platform error a call throws, 0 when it throws none: lets a
// table of file cases say which failure each one must give.
#pragma once

#include "platform/errors.h"

#include <functional>

namespace tessaro::test {

inline int NumberOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const platform::PlatformError& e) {
        return e.Number();
    }
    return 0;
}

} // namespace tessaro::test
