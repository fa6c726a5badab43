// File and process services. Paths are Windows-1252 texts, as everywhere in the
// core; they are decoded to the file system's UTF-8 only here. Failures throw
// platform::PlatformError with number and German description.
#pragma once

#include <string>
#include <vector>

namespace tessaro::platform {

// Directory of the running executable, Windows-1252, without a trailing "/".
std::string ProgramDirectory();

// dir + "/" + name.
std::string Join(const std::string& dir, const std::string& name);

// True exactly when a regular file (not a directory) exists; "" gives false.
bool FileExists(const std::string& path);
// True exactly when a directory exists at the path.
bool DirectoryExists(const std::string& path);

// All bytes of the file; throws platform::PlatformError.
std::string ReadWholeFile(const std::string& path);

// Create or truncate, write every byte, fsync, close; any error throws. An
// existing file without any write bit is refused (PermissionDenied), root or not.
void WriteWholeFile(const std::string& path, const std::string& bytes);

// Like WriteWholeFile, but the old content stays in place until the new one is
// complete: written to a temporary file beside it, synced, then renamed over it.
// An existing file that may not be written is refused as WriteWholeFile would.
void ReplaceWholeFile(const std::string& path, const std::string& bytes);

// Renames within the same directory; never replaces an existing file (fails with
// FileExists instead). Syncs the directory afterwards.
void RenameNoReplace(const std::string& from, const std::string& to);

// Removes the file, a read-only one included; fails when there is no such file.
void DeleteFile(const std::string& path);

// Names of the files (not directories) directly in dir, in the file system's order.
std::vector<std::string> ListFiles(const std::string& dir);

// fsync of a directory, so that a rename or unlink in it is durable.
void SyncDirectory(const std::string& dir);

// Windows-1252 path -> native (UTF-8) path for the file system, and back.
std::string NativePath(const std::string& ansiPath);
std::string AnsiPath(const std::string& nativePath);

} // namespace tessaro::platform
