// Folders on Linux: listed, synced, and told apart by an identity that
// survives a remount.
#include "platform/files_posix_common.h"

namespace tessaro::platform {

using namespace detail;

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

std::optional<std::string> FolderIdentity(const std::string& dir) {
    // Held by a path descriptor, so a folder that may be entered but not
    // listed is told too, and both looks are at the same folder.
    const std::string native = NativePath(dir.empty() ? std::string(".") : dir);
    Fd fd(::open(native.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return std::nullopt;
        Fail(errno, dir);
    }
    struct stat st {};
    struct statfs fs {};
    if (::fstat(fd.get(), &st) != 0 || ::fstatfs(fd.get(), &fs) != 0)
        Fail(errno, dir);
    // The file system's own id, not st_dev: a network mount gets another
    // device number at every mount.
    unsigned int id[2] = {};
    static_assert(sizeof id == sizeof fs.f_fsid);
    std::memcpy(id, &fs.f_fsid, sizeof id);
    char text[64];
    std::snprintf(text, sizeof text, "%08x%08x-%llx-%llx", id[0], id[1],
                  static_cast<unsigned long long>(fs.f_type),
                  static_cast<unsigned long long>(st.st_ino));
    return std::string(text);
}

} // namespace tessaro::platform
