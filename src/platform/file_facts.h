// What a name in a folder is, looked at without following a link and without
// opening anything for reading: for deciding from evidence whether a file is
// the one this program made, and whether two names hold one file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tessaro::platform {

struct FileFacts {
    std::uint64_t volume = 0; // device / volume serial
    std::uint64_t index = 0;  // inode / file index
    std::uint64_t links = 0;  // names the file has
    std::uint64_t size = 0;
    bool regular = false; // a plain file, not a folder, link, pipe or device
    bool link = false;    // the name is a symbolic link (or reparse point)
    bool ours = false;    // owned by the user running the program (or the administrator)
    bool SameFile(const FileFacts& other) const {
        return volume == other.volume && index == other.index;
    }
};

// nullopt when nothing is at the path; throws PlatformError when it cannot be
// told (a disk error, no right to look), which is never taken for "gone".
std::optional<FileFacts> LookAt(const std::string& path);

// An identity of the folder that survives a remount and a restart: the
// volume's own serial (file-system id) with the folder's inode / file index,
// never a device number given out at mount time. An empty mount point and
// the share mounted on it differ. nullopt when no folder is at the path;
// throws PlatformError when it cannot be told.
std::optional<std::string> FolderIdentity(const std::string& dir);

// A file this program made, read without following a link: a link, a file
// owned by another account, or anything not a regular file fails
// (PathFileAccess) and is never opened for reading. Bound as ReadWholeFile.
std::string ReadOwnFile(const std::string& path, std::size_t maxBytes);

// A fresh identifier for one run: 16 random bytes as 32 lower-case hex
// digits, from the system's random source.
std::string NewRunId();

} // namespace tessaro::platform
