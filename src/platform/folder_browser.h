// The platform's own folder browser, where it has one (the Windows shell's).
// Elsewhere the user interface brings its own, and HasFolderBrowser says so.
#pragma once

#include <string>

namespace tessaro::platform {

struct BrowsedFolder {
    enum class Outcome {
        Chosen,           // path: the folder, Windows-1252
        Cancelled,        // path: empty
        NotRepresentable, // path: the folder with "?" for what Windows-1252 lacks
    };
    Outcome outcome = Outcome::Cancelled;
    std::string path;
};

bool HasFolderBrowser();

// Modal to the active window; title (Windows-1252) is the prompt shown in the
// dialog. A folder whose name Windows-1252 cannot hold comes back under its
// short (8.3) name where the volume keeps one, else as NotRepresentable.
BrowsedFolder BrowseForFolder(const std::string& title);

} // namespace tessaro::platform
