#include "config/folder_scan.h"

#include "platform/codec.h"
#include "platform/files.h"

#include <exception>

namespace tessaro {

bool config::NameMatchesSuffix(const std::string& name, const std::string& heldSuffix) {
    return platform::cp1252::ToUpper(name).find("." + heldSuffix) != std::string::npos;
}

std::optional<std::string> config::FindRequestFile(const std::string& folder, const std::string& heldSuffix,
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
        if (config::NameMatchesSuffix(name, heldSuffix))
            return name;
    }
    return std::nullopt;
}

std::string JoinFolderAndName(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

} // namespace tessaro
