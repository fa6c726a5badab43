// None here: on Linux the user interface shows its own folder chooser.
#include "platform/folder_browser.h"

namespace tessaro::platform {

bool HasFolderBrowser() {
    return false;
}

BrowsedFolder BrowseForFolder(const std::string&) {
    return {};
}

} // namespace tessaro::platform
