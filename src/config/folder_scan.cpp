#include "config/folder_scan.h"

#include "platform/cp1252.h"
#include "platform/files.h"

#include <exception>

namespace tessaro::config {

bool NameMatchesSuffix(const std::string& name, const std::string& heldSuffix) {
    return platform::cp1252::ToUpper(name).find("." + heldSuffix) != std::string::npos;
}

std::optional<std::string> FindRequestFile(const std::string& folder, const std::string& heldSuffix,
                                           const std::function<bool()>& beforeEachFile) {
    std::vector<std::string> names;
    try {
        names = platform::ListFiles(folder);
    } catch (const std::exception&) {
        // An unreadable folder leaves the folder itself as the source path.
        return std::nullopt;
    }
    for (const std::string& name : names) {
        if (!beforeEachFile())
            return std::nullopt;
        if (NameMatchesSuffix(name, heldSuffix))
            return name;
    }
    return std::nullopt;
}

} // namespace tessaro::config
