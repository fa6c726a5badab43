// File and process services. Paths are Windows-1252 texts, as everywhere in the
// core; they are decoded to the file system's UTF-8 (Linux) or UTF-16 (Windows)
// only here. Failures throw PlatformError with number and German description.
#pragma once

#include "platform/errors.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tessaro::platform {

// What Join puts between a folder and a name.
#ifdef _WIN32
inline constexpr char kSeparator = '\\';
#else
inline constexpr char kSeparator = '/';
#endif

// Directory of the running executable, Windows-1252, without a trailing separator.
// Where code page 1252 cannot hold its name, a name that still leads to it: the
// short name on Windows, a name of the folder held open on Linux.
std::string ProgramDirectory();

#ifndef _WIN32
// The native folder as a Windows-1252 path that leads back to exactly it.
std::string AnsiDirectory(const std::string& nativeDir);
#endif

// dir + kSeparator + name, without doubling the separator of a folder that ends
// in one (the root folder a chooser returns).
inline std::string Join(const std::string& dir, const std::string& name) {
    if (!dir.empty() && (dir.back() == '/' || dir.back() == kSeparator))
        return dir + name;
    return dir + kSeparator + name;
}

// The folder part and the name part of a path ("" and the path when it has
// no separator). On Windows "/" separates as well as "\\".
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);

// True exactly when a regular file (not a directory) exists; "" gives false.
bool FileExists(const std::string& path);
// True exactly when a directory exists at the path.
bool DirectoryExists(const std::string& path);

// No read below blocks: whatever sits at the path (a pipe, a device, a
// folder), only a regular file is read; anything else fails at once. A
// symbolic link is followed to the file it names.

// All bytes of the file; throws platform::PlatformError. More than maxBytes throws
// FileTooLarge before anything is read into memory.
std::string ReadWholeFile(const std::string& path, std::size_t maxBytes = SIZE_MAX);

// Thrown by ReadWholeFile for a file over the caller's limit (number 7).
class FileTooLarge : public PlatformError {
public:
    FileTooLarge(std::string path, unsigned long long size)
        : PlatformError(ErrorNumber::OutOfMemory, std::move(path)), size_(size) {}
    unsigned long long Size() const { return size_; }

private:
    unsigned long long size_;
};

// True when the file holds exactly these bytes. Compared piece by piece, so no
// second copy of a large file is ever held; throws platform::PlatformError as a read would.
bool FileHoldsExactly(const std::string& path, std::string_view bytes);

// A new file with the parts one after the other, synced and closed; any error
// throws. Whatever is at the name before is removed first and never opened: a
// link goes, not the file it names, and a pipe cannot hold the write up. A
// folder or a device there, or a regular file without any write bit (read-only
// for every user, root too, as on the platform the files come from), is refused.
void WriteWholeFile(const std::string& path, std::initializer_list<std::string_view> parts);
void WriteWholeFile(const std::string& path, const std::string& bytes);

// Rewrites a file that the program keeps (counter, settings) so that a failure
// part way leaves the old content: written to a temporary file beside it,
// synced, then renamed over it, keeping owner, group and mode. A link is kept
// and the file it names is replaced. Where the folder may not be written, or
// owner and group could not be kept, the file itself is rewritten in place and
// synced instead. Temporary files that an interrupted earlier replacement left
// beside it are removed. A file that may not be written is refused.
void ReplaceWholeFile(const std::string& path, const std::string& bytes);

// Renames within the same directory; never replaces an existing file (fails with
// FileExists instead). Does not sync: the caller syncs the folder with
// SyncDirectory, so that a failure there can be told from a failed rename.
void RenameNoReplace(const std::string& from, const std::string& to);

// Removes the file, a read-only one included; fails when there is no such file.
// The folder is synced afterwards as far as it can be; once the file is gone,
// a failed sync is not reported.
void RemoveFile(const std::string& path);

// True when the path, or a link it leads through, is a link that belongs
// neither to the system's administrator nor to the user running the program:
// what another account planted there is not followed. A missing path gives false.
bool IsForeignLink(const std::string& path);

// The computer's name, Windows-1252; "" when it cannot be had.
std::string HostName();

// A file this run made itself. Created exclusively: a name that is taken,
// whoever's it is, fails with FileExists and is left alone. Kept open until
// it is put in place, so that the rename moves this very file and no other
// that may have come to stand under its name.
class OwnFile {
public:
    explicit OwnFile(const std::string& path);
    ~OwnFile();
    OwnFile(OwnFile&& other) noexcept;
    OwnFile(const OwnFile&) = delete;
    OwnFile& operator=(const OwnFile&) = delete;
    OwnFile& operator=(OwnFile&&) = delete;

    // Appends the parts and syncs them to the disk.
    void Write(std::initializer_list<std::string_view> parts);
    // Gives this file the new name in the same folder, never over an existing
    // one (FileExists), and fails (PathFileAccess) when the old name no longer
    // holds this file. Does not sync the folder (SyncDirectory).
    void RenameNoReplace(const std::string& to);
    // Removes the file while its name still holds it; never someone else's.
    void Remove() noexcept;

private:
    std::string path_;
    std::intptr_t handle_;
};

// Names of the files (not directories) directly in dir, in the file system's order.
std::vector<std::string> ListFiles(const std::string& dir);

// fsync of a directory, so that a rename or unlink in it is durable.
void SyncDirectory(const std::string& dir);

// Windows-1252 path -> native (UTF-8) path for the file system, and back.
std::string NativePath(const std::string& ansiPath);
std::string AnsiPath(const std::string& nativePath);

} // namespace tessaro::platform
