#include "platform/cp1252.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/instance_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaro::platform {
namespace {

// A new lock file may be read only by those who may write it: a read lock
// taken by someone who may not run the program here would keep every start out.
mode_t LockFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode_t mode = 0666 & ~mask;
    for (mode_t write = 0200, read = 0400; write != 0; write >>= 3, read >>= 3)
        if ((mode & write) == 0)
            mode &= ~read;
    return mode;
}

} // namespace

InstanceLock::InstanceLock(const std::string& programDirectory) {
    const std::string path = Join(programDirectory, kLockFileName);
    path_ = path;
    // Never through a link, which could make us create or lock a file
    // elsewhere; without blocking, so that a pipe put there cannot hold the
    // start up. Opened for writing: that is what only those who may run the
    // program here can do.
    const int fd =
        ::open(NativePath(path).c_str(),
               O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, LockFileMode());
    if (fd < 0) {
        Refuse(DescribeError(ErrorNumberFromErrno(errno)));
        return;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        Refuse(DescribeError(ErrorNumber::PathFileAccess));
        return;
    }
    // A lock of this open file description: two opens in one process conflict
    // like two processes, and a write lock needs the file opened for writing.
    for (int attempt = 0; attempt < 5; ++attempt) {
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        if (::fcntl(fd, F_OFD_SETLK, &lock) == 0) {
            fd_ = fd;
            held_ = true;
            return;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EACCES)
            break;
        struct flock holder {};
        holder.l_type = F_WRLCK;
        holder.l_whence = SEEK_SET;
        if (::fcntl(fd, F_OFD_GETLK, &holder) != 0)
            break;
        if (holder.l_type == F_WRLCK) {
            // Only one who may write the file can hold this: another instance.
            another_ = true;
            ::close(fd);
            return;
        }
        if (holder.l_type == F_RDLCK) {
            // The program never takes a read lock: a stranger holds one.
            ::close(fd);
            Refuse(cp1252::Ansi("ein anderes Programm hält sie gesperrt"));
            return;
        }
        // F_UNLCK: the holder has just ended; try again.
    }
    const int err = errno;
    ::close(fd);
    Refuse(DescribeError(ErrorNumberFromErrno(err)));
}

std::string InstanceLock::ReadAt(std::uint64_t offset, std::size_t size) const {
    std::string bytes(size, '\0');
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n =
            ::pread(fd_, bytes.data() + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw ErrorFromErrno(errno, path_);
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

void InstanceLock::WriteAt(std::uint64_t offset, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done,
                                   static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw ErrorFromErrno(n < 0 ? errno : ENOSPC, path_);
        done += static_cast<std::size_t>(n);
    }
    if (::fdatasync(fd_) != 0)
        throw ErrorFromErrno(errno, path_);
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0)
        ::close(fd_); // closing releases the lock; the file stays for the next start
}

} // namespace tessaro::platform
