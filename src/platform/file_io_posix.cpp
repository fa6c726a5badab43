// Whole files on Linux: read with a bound, written new, replaced through a
// temporary file, renamed never over another, removed.
#include "platform/files_posix_common.h"

namespace tessaro::platform {

using namespace detail;

namespace {

// A file without any write bit is read-only for every user: root, who could
// write it all the same, is refused too, as on the platform the files come from.
void RefuseReadOnly(const std::string& native, const std::string& path) {
    struct stat st {};
    if (::lstat(native.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 0222) == 0)
        Fail(EACCES, path);
}

// Opened without blocking, so that a pipe or a device put at the path fails at
// once instead of waiting for a writer; only a regular file is accepted.
Fd OpenRegularForReading(const std::string& path, struct stat& st) {
    Fd fd(::open(NativePath(path).c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0)
        Fail(errno, path);
    if (::fstat(fd.get(), &st) != 0)
        Fail(errno, path);
    if (S_ISDIR(st.st_mode))
        Fail(EISDIR, path);
    if (!S_ISREG(st.st_mode))
        throw platform::PlatformError(platform::ErrorNumber::PathFileAccess, path);
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags >= 0)
        (void)::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

// The file a chain of symbolic links ends at (which need not exist yet).
std::string FollowLinks(std::string native, const std::string& path) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(native.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return native;
        std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(native.c_str(), target.data(), target.size());
        if (n < 0)
            Fail(errno, path);
        if (static_cast<std::size_t>(n) == target.size())
            continue; // the link changed meanwhile; look again
        target.resize(static_cast<std::size_t>(n));
        native = target.starts_with('/') ? target : ParentOf(native) + "/" + target;
    }
    Fail(ELOOP, path);
}

// Temporary names are the file's name, a dot and six letters or digits. A
// suffix of lower-case letters alone is left: that reads as a word someone
// chose ("Settings.ini.backup"), and only about one in two hundred temporary
// names looks like that.
bool IsLeftoverTemporary(const std::string& entry, const std::string& base) {
    if (entry.size() != base.size() + 7 || !entry.starts_with(base) || entry[base.size()] != '.')
        return false;
    bool lowerOnly = true;
    for (std::size_t i = base.size() + 1; i < entry.size(); ++i) {
        const char c = entry[i];
        const bool lower = c >= 'a' && c <= 'z';
        if (!lower && !(c >= 'A' && c <= 'Z') && !(c >= '0' && c <= '9'))
            return false;
        lowerOnly = lowerOnly && lower;
    }
    return !lowerOnly;
}

// A replacement killed half way leaves its temporary file; the next one clears
// them away so that they do not pile up beside the program.
void RemoveLeftoverTemporaries(const std::string& native) {
    const std::string dir = ParentOf(native);
    const std::string base = native.substr(native.find_last_of('/') + 1);
    DIR* d = ::opendir(dir.c_str());
    if (d == nullptr)
        return; // a folder that may not be listed keeps them; nothing else is harmed
    std::vector<std::string> leftovers;
    while (const dirent* e = ::readdir(d))
        if (IsLeftoverTemporary(e->d_name, base))
            leftovers.emplace_back(dir + "/" + e->d_name);
    ::closedir(d);
    for (const std::string& leftover : leftovers) {
        struct stat st {};
        if (::lstat(leftover.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            (void)::unlink(leftover.c_str());
    }
}

// The new content over the old, in the file itself: written from the start,
// then cut to its length, so the file is never empty on the way.
void RewriteInPlace(Fd& fd, const std::string& path, const std::string& bytes) {
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags >= 0)
        (void)::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
    if (::lseek(fd.get(), 0, SEEK_SET) != 0)
        Fail(errno, path);
    WriteAll(fd.get(), path, bytes);
    if (::ftruncate(fd.get(), static_cast<off_t>(bytes.size())) != 0)
        Fail(errno, path);
    SyncAndClose(fd, path);
}

// The rest of an open regular file, up to maxBytes.
std::string ReadOpened(Fd& fd, const struct stat& st, const std::string& path,
                       std::size_t maxBytes) {
    const auto size = static_cast<unsigned long long>(st.st_size > 0 ? st.st_size : 0);
    if (size > maxBytes)
        throw FileTooLarge(path, size);
    // Sized from the file, one byte over so that the read which finds the end
    // needs no growth: a request of megabytes comes in with one read instead of
    // being copied at every doubling. A file that grows meanwhile still comes
    // in whole, up to the limit.
    std::string bytes(static_cast<std::size_t>(size) + 1, '\0');
    std::size_t done = 0;
    for (;;) {
        if (done == bytes.size()) {
            if (done > maxBytes)
                throw FileTooLarge(path, done);
            bytes.resize(bytes.size() * 2 + 65536);
        }
        const ssize_t n = ReadSome(fd.get(), bytes.data() + done, bytes.size() - done, path);
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    if (done > maxBytes)
        throw FileTooLarge(path, done);
    bytes.resize(done);
    if (::close(fd.release()) != 0)
        Fail(errno, path);
    return bytes;
}

} // namespace

std::string ReadWholeFile(const std::string& path, std::size_t maxBytes) {
    struct stat st {};
    Fd fd = OpenRegularForReading(path, st);
    return ReadOpened(fd, st, path, maxBytes);
}

std::string ReadOwnFile(const std::string& path, std::size_t maxBytes) {
    // Never through a link, and without blocking on a pipe put there.
    Fd fd(::open(NativePath(path).c_str(),
                 O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno == ELOOP)
            throw PlatformError(ErrorNumber::PathFileAccess, path);
        Fail(errno, path);
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        Fail(errno, path);
    if (!S_ISREG(st.st_mode) || !IsOurs(st))
        throw PlatformError(ErrorNumber::PathFileAccess, path);
    return ReadOpened(fd, st, path, maxBytes);
}

bool FileHoldsExactly(const std::string& path, std::string_view bytes) {
    struct stat st {};
    Fd fd = OpenRegularForReading(path, st);
    constexpr std::size_t kPiece = 64 * 1024;
    const auto piece = std::make_unique<char[]>(kPiece);
    std::size_t done = 0;
    for (;;) {
        const ssize_t n = ReadSome(fd.get(), piece.get(), kPiece, path);
        if (n == 0)
            return done == bytes.size();
        const auto got = static_cast<std::size_t>(n);
        if (got > bytes.size() - done ||
            bytes.substr(done, got) != std::string_view(piece.get(), got))
            return false;
        done += got;
    }
}

void WriteWholeFile(const std::string& path, std::initializer_list<std::string_view> parts) {
    const std::string native = NativePath(path);
    // Exclusive creation never follows a link and never opens a pipe; if
    // something takes the name again between the removal and the creation, it
    // is removed once more, a few times at most.
    Fd fd(-1);
    for (int attempt = 0; fd.get() < 0; ++attempt) {
        struct stat st {};
        if (::lstat(native.c_str(), &st) == 0) {
            if (S_ISDIR(st.st_mode))
                Fail(EISDIR, path);
            // Only root can make a device node, and removing one is never ours to do.
            if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
                throw platform::PlatformError(platform::ErrorNumber::PathFileAccess, path);
            RefuseReadOnly(native, path);
            if (::unlink(native.c_str()) != 0 && errno != ENOENT)
                Fail(errno, path);
        }
        fd = Fd(::open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (fd.get() < 0 && (errno != EEXIST || attempt == 3))
            Fail(errno, path);
    }
    for (const std::string_view part : parts)
        WriteAll(fd.get(), path, part);
    SyncAndClose(fd, path);
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    WriteWholeFile(path, {std::string_view(bytes)});
}

void ReplaceWholeFile(const std::string& path, const std::string& bytes) {
    // A link is kept as the link it is: its target is what gets replaced.
    const std::string native = FollowLinks(NativePath(path), path);
    RefuseReadOnly(native, path);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode_t mode = 0666 & ~mask;
    // Opened without truncating: a file that may not be written is refused
    // here, and a pipe cannot hold the open up.
    Fd existing(::open(native.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (existing.get() < 0 && errno != ENOENT)
        Fail(errno, path);
    struct stat old {};
    if (existing.get() >= 0) {
        if (::fstat(existing.get(), &old) != 0)
            Fail(errno, path);
        if (!S_ISREG(old.st_mode))
            throw platform::PlatformError(platform::ErrorNumber::PathFileAccess, path);
        mode = old.st_mode & 07777;
    }
    RemoveLeftoverTemporaries(native);

    std::string temp = native + ".XXXXXX";
    Fd fd(::mkstemp(temp.data()));
    if (fd.get() < 0) {
        // A folder locked down around files that are opened up: the file
        // itself is what the operator may write.
        if ((errno == EACCES || errno == EPERM) && existing.get() >= 0)
            return RewriteInPlace(existing, path, bytes);
        Fail(errno, path);
    }
    try {
        if (::fchmod(fd.get(), mode) != 0)
            Fail(errno, path);
        struct stat made {};
        if (existing.get() >= 0 && ::fstat(fd.get(), &made) == 0 &&
            (made.st_uid != old.st_uid || made.st_gid != old.st_gid) &&
            ::fchown(fd.get(), old.st_uid, old.st_gid) != 0) {
            // Another user's file, or a group we are not in: a replacement
            // would take it over, so it is rewritten where it is instead.
            ::unlink(temp.c_str());
            return RewriteInPlace(existing, path, bytes);
        }
        WriteAll(fd.get(), path, bytes);
        SyncAndClose(fd, path);
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
        // The file is under its new name now; an old name left beside it is
        // untidy, but calling the rename failed would deny a delivered file.
        (void)::unlink(nativeFrom.c_str());
    }
}

void RemoveFile(const std::string& path) {
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
    // The file is gone; a folder that cannot be synced does not bring it back.
    try {
        SyncNativeDirectory(ParentOf(native), path);
    } catch (const platform::PlatformError&) {
    }
}

} // namespace tessaro::platform
