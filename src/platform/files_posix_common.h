// What the POSIX file services share: failures as PlatformError, descriptors
// closed on every path, folders synced, whole writes and reads.
#pragma once

#include "platform/cp1252.h"
#include "platform/errors.h"
#include "platform/file_facts.h"
#include "platform/files.h"
#include "platform/run_id.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>
#include <utility>

namespace tessaro::platform::detail {

[[noreturn]] inline void Fail(int err, const std::string& ansiPath) {
    throw platform::ErrorFromErrno(err, ansiPath);
}

inline std::string ParentOf(const std::string& nativePath) {
    const auto slash = nativePath.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return nativePath.substr(0, slash);
}

// Closes fd unless released; keeps error paths from leaking descriptors.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    Fd(Fd&& other) noexcept : fd_(other.release()) {}
    Fd& operator=(Fd&& other) noexcept {
        if (this != &other) {
            if (fd_ >= 0)
                ::close(fd_);
            fd_ = other.release();
        }
        return *this;
    }
    int get() const { return fd_; }
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

inline bool IsRegular(const std::string& nativePath) {
    struct stat st {};
    return ::stat(nativePath.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

inline void SyncNativeDirectory(const std::string& nativeDir, const std::string& ansiDir) {
    Fd fd(::open(nativeDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    // A folder we may write but not list (a drop box) cannot be opened for the
    // sync, and there is no other way to sync it. The rename or delete is done
    // by then; calling it failed would keep a request whose .gdt is delivered.
    if (fd.get() < 0 && (errno == EACCES || errno == EPERM))
        return;
    if (fd.get() < 0)
        Fail(errno, ansiDir);
    // Some file systems cannot sync a directory at all; that is not a failure of ours.
    if (::fsync(fd.get()) != 0 && errno != EINVAL && errno != ENOTSUP)
        Fail(errno, ansiDir);
}

inline void WriteAll(int fd, const std::string& path, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail(errno, path);
        }
        if (n == 0)
            Fail(ENOSPC, path);
        done += static_cast<std::size_t>(n);
    }
}

inline void SyncAndClose(Fd& fd, const std::string& path) {
    if (::fsync(fd.get()) != 0)
        Fail(errno, path);
    if (::close(fd.release()) != 0)
        Fail(errno, path);
}

inline ssize_t ReadSome(int fd, char* into, std::size_t size, const std::string& path) {
    for (;;) {
        const ssize_t n = ::read(fd, into, size);
        if (n >= 0)
            return n;
        if (errno != EINTR)
            Fail(errno, path);
    }
}

inline bool IsOurs(const struct stat& st) {
    return st.st_uid == ::geteuid() || st.st_uid == 0;
}

} // namespace tessaro::platform::detail
