// The one conversion between the core's Windows-1252 paths and the file
// system's UTF-8 names, the same on both platforms.
#include "platform/cp1252.h"
#include "platform/files.h"

namespace tessaro::platform {

std::string NativePath(const std::string& ansiPath) {
    return cp1252::ToUtf8(ansiPath);
}

std::string AnsiPath(const std::string& nativePath) {
    return cp1252::FromUtf8(nativePath);
}

} // namespace tessaro::platform
