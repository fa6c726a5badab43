// The file a run made itself and holds open until it is put in place.
#include "platform/files_posix_common.h"

namespace tessaro::platform {

using namespace detail;

namespace {

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// True when the name leads (without following a link) to the open file.
bool NameHolds(const std::string& native, int fd) {
    struct stat byName {};
    struct stat byFd {};
    return ::lstat(native.c_str(), &byName) == 0 && ::fstat(fd, &byFd) == 0 &&
           SameFile(byName, byFd);
}

} // namespace

OwnFile::OwnFile(const std::string& path)
    : path_(path), handle_(::open(NativePath(path).c_str(),
                                  O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666)) {
    if (handle_ < 0)
        Fail(errno, path);
}

OwnFile::~OwnFile() {
    if (handle_ >= 0)
        ::close(static_cast<int>(handle_));
}

OwnFile::OwnFile(OwnFile&& other) noexcept
    : path_(std::move(other.path_)), handle_(std::exchange(other.handle_, -1)) {}

void OwnFile::Write(std::initializer_list<std::string_view> parts) {
    const int fd = static_cast<int>(handle_);
    for (const std::string_view part : parts)
        WriteAll(fd, path_, part);
    if (::fsync(fd) != 0)
        Fail(errno, path_);
}

void OwnFile::RenameNoReplace(const std::string& to) {
    const int fd = static_cast<int>(handle_);
    const std::string from = NativePath(path_);
    if (!NameHolds(from, fd))
        throw platform::PlatformError(platform::ErrorNumber::PathFileAccess, path_);
    platform::RenameNoReplace(path_, to);
    // Someone may have put a file of his own under the old name between the
    // look and the rename: that one goes back, and ours is not put in place.
    if (!NameHolds(NativePath(to), fd)) {
        (void)::renameat2(AT_FDCWD, NativePath(to).c_str(), AT_FDCWD, from.c_str(),
                          RENAME_NOREPLACE);
        throw platform::PlatformError(platform::ErrorNumber::PathFileAccess, path_);
    }
    path_ = to;
}

void OwnFile::Remove() noexcept {
    const std::string native = NativePath(path_);
    if (handle_ >= 0 && NameHolds(native, static_cast<int>(handle_)))
        (void)::unlink(native.c_str());
}

} // namespace tessaro::platform
