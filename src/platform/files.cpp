#include "platform/files.h"

#include "platform/codec.h"
#include "platform/errors.h"

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaro::platform {
namespace {

[[noreturn]] void Fail(int err, const std::string& ansiPath) {
    throw platform::ErrorFromErrno(err, ansiPath);
}

std::string ParentOf(const std::string& nativePath) {
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
    int get() const { return fd_; }
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

bool IsRegular(const std::string& nativePath) {
    struct stat st {};
    return ::stat(nativePath.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

void SyncNativeDirectory(const std::string& nativeDir, const std::string& ansiDir) {
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

// Writes every byte, syncs and closes; the descriptor is consumed either way.
void WriteAndClose(Fd& fd, const std::string& path, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail(errno, path);
        }
        if (n == 0)
            Fail(ENOSPC, path);
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd.get()) != 0)
        Fail(errno, path);
    if (::close(fd.release()) != 0)
        Fail(errno, path);
}

// A file without any write bit is read-only for every user: root, who could
// write it all the same, is refused too, as on the platform the files come from.
void RefuseReadOnly(const std::string& native, const std::string& path) {
    struct stat st {};
    if (::stat(native.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 0222) == 0)
        Fail(EACCES, path);
}

} // namespace

std::string NativePath(const std::string& ansiPath) {
    return platform::cp1252::ToUtf8(ansiPath);
}
std::string AnsiPath(const std::string& nativePath) {
    return platform::cp1252::FromUtf8(nativePath);
}

std::string ProgramDirectory() {
    std::string buf(4096, '\0');
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
        if (n < 0)
            Fail(errno, "/proc/self/exe");
        if (static_cast<std::size_t>(n) < buf.size()) {
            buf.resize(static_cast<std::size_t>(n));
            break;
        }
        buf.resize(buf.size() * 2);
    }
    const auto slash = buf.find_last_of('/');
    // The root directory itself has no name left once its separator is dropped.
    return AnsiPath(slash == std::string::npos ? std::string(".") : buf.substr(0, slash));
}

std::string Join(const std::string& dir, const std::string& name) {
    return dir + "/" + name;
}

bool FileExists(const std::string& path) {
    return !path.empty() && IsRegular(NativePath(path));
}

bool DirectoryExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string ReadWholeFile(const std::string& path) {
    Fd fd(::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0)
        Fail(errno, path);
    // Sized from the file, one byte over so that the read which finds the end
    // needs no growth: a request of megabytes comes in with one read instead of
    // being copied at every doubling. A file that grows meanwhile still comes
    // in whole.
    struct stat st {};
    std::size_t expected = 0;
    if (::fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
        expected = static_cast<std::size_t>(st.st_size);
    std::string bytes(expected + 1, '\0');
    std::size_t done = 0;
    for (;;) {
        if (done == bytes.size())
            bytes.resize(bytes.size() * 2 + 65536);
        const ssize_t n = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail(errno, path); // EISDIR lands here for a directory
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    if (::close(fd.release()) != 0)
        Fail(errno, path);
    return bytes;
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    const std::string native = NativePath(path);
    RefuseReadOnly(native, path);
    Fd fd(::open(native.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (fd.get() < 0)
        Fail(errno, path);
    WriteAndClose(fd, path, bytes);
}

void ReplaceWholeFile(const std::string& path, const std::string& bytes) {
    const std::string native = NativePath(path);
    RefuseReadOnly(native, path);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode_t mode = 0666 & ~mask;
    {
        // Probe without truncating: a file that may not be written, or a
        // directory, is refused here.
        Fd probe(::open(native.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
        if (probe.get() < 0 && errno != ENOENT)
            Fail(errno, path);
        struct stat st {};
        if (probe.get() >= 0 && ::fstat(probe.get(), &st) == 0 && S_ISREG(st.st_mode))
            mode = st.st_mode & 07777;
    }
    std::string temp = native + ".XXXXXX";
    Fd fd(::mkstemp(temp.data()));
    if (fd.get() < 0)
        Fail(errno, path);
    try {
        if (::fchmod(fd.get(), mode) != 0)
            Fail(errno, path);
        WriteAndClose(fd, path, bytes);
        if (::rename(temp.c_str(), native.c_str()) != 0)
            Fail(errno, path);
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
    SyncNativeDirectory(ParentOf(native), path);
}

void RenameNoReplace(const std::string& from, const std::string& to) {
    const std::string nativeFrom = NativePath(from);
    const std::string nativeTo = NativePath(to);
    if (::renameat2(AT_FDCWD, nativeFrom.c_str(), AT_FDCWD, nativeTo.c_str(), RENAME_NOREPLACE) !=
        0) {
        const int err = errno;
        if (err != EINVAL && err != ENOSYS && err != ENOTSUP)
            Fail(err, to);
        // The file system refuses the flag: a hard link cannot replace either.
        if (::link(nativeFrom.c_str(), nativeTo.c_str()) != 0)
            Fail(errno, to);
        if (::unlink(nativeFrom.c_str()) != 0)
            Fail(errno, from);
    }
    SyncNativeDirectory(ParentOf(nativeTo), to);
}

void DeleteFile(const std::string& path) {
    const std::string native = NativePath(path);
    struct stat st {};
    if (::lstat(native.c_str(), &st) != 0)
        Fail(errno, path);
    if (S_ISDIR(st.st_mode))
        Fail(EISDIR, path);
    // unlink needs no write permission on the file itself, so a read-only file
    // goes like any other.
    if (::unlink(native.c_str()) != 0)
        Fail(errno, path);
    SyncNativeDirectory(ParentOf(native), path);
}

std::vector<std::string> ListFiles(const std::string& dir) {
    const std::string native = NativePath(dir);
    DIR* d = ::opendir(native.c_str());
    if (d == nullptr)
        Fail(errno, dir);
    std::vector<std::string> names;
    errno = 0;
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        bool regular = e->d_type == DT_REG;
        if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK)
            regular = IsRegular(native + "/" + name);
        if (regular)
            names.push_back(AnsiPath(name));
        errno = 0;
    }
    const int err = errno;
    ::closedir(d);
    if (err != 0)
        Fail(err, dir);
    return names;
}

void SyncDirectory(const std::string& dir) {
    SyncNativeDirectory(NativePath(dir), dir);
}

} // namespace tessaro::platform
