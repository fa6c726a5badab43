// Paths and names on Linux: the program folder, what a name is, whose link it
// is, the computer name and a run identifier.
#include "platform/files_posix_common.h"

namespace tessaro::platform {

using namespace detail;

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
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
    return AnsiDirectory(slash == std::string::npos ? std::string(".") : buf.substr(0, slash));
}

std::string AnsiDirectory(const std::string& nativeDir) {
    const std::string ansi = AnsiPath(nativeDir);
    if (NativePath(ansi) == nativeDir)
        return ansi;
    // A name Windows-1252 cannot give back ("Łódź", or bytes that are no
    // UTF-8) would lead to another folder, or none. The folder is held open for
    // the rest of the run instead, and named by its descriptor: that name is
    // plain ASCII and leads to exactly this folder, whatever its own name is.
    const int fd = ::open(nativeDir.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return ansi;
    return "/proc/self/fd/" + std::to_string(fd);
}

bool FileExists(const std::string& path) {
    return !path.empty() && IsRegular(NativePath(path));
}

bool DirectoryExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsForeignLink(const std::string& path) {
    std::string native = NativePath(path);
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(native.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return false;
        if (st.st_uid != 0 && st.st_uid != ::geteuid())
            return true;
        std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(native.c_str(), target.data(), target.size());
        if (n < 0 || static_cast<std::size_t>(n) == target.size())
            return false; // gone or changed meanwhile: the open that follows decides
        target.resize(static_cast<std::size_t>(n));
        native = target.starts_with('/') ? target : ParentOf(native) + "/" + target;
    }
    return false;
}

std::string HostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return {};
    return AnsiPath(name);
}

std::optional<FileFacts> LookAt(const std::string& path) {
    struct stat st {};
    if (::fstatat(AT_FDCWD, NativePath(path).c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return std::nullopt;
        Fail(errno, path);
    }
    FileFacts facts;
    facts.volume = static_cast<std::uint64_t>(st.st_dev);
    facts.index = static_cast<std::uint64_t>(st.st_ino);
    facts.links = static_cast<std::uint64_t>(st.st_nlink);
    facts.size = static_cast<std::uint64_t>(st.st_size > 0 ? st.st_size : 0);
    facts.regular = S_ISREG(st.st_mode);
    facts.link = S_ISLNK(st.st_mode);
    facts.ours = IsOurs(st);
    return facts;
}

std::string NewRunId() {
    unsigned char bytes[16];
    std::size_t done = 0;
    while (done < sizeof bytes) {
        const ssize_t n = ::getrandom(bytes + done, sizeof bytes - done, 0);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail(errno, "getrandom");
        }
        done += static_cast<std::size_t>(n);
    }
    return HexOf(bytes, sizeof bytes);
}

} // namespace tessaro::platform
