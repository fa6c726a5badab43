#include "app/failure_message.h"

#include "gdt/commit.h"

namespace tessaro::app {

std::string FailureMessage(const platform::PlatformError& error) {
    return gdt::FailureText(error);
}

} // namespace tessaro::app
