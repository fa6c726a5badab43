#include "platform/files.h"
#include "platform/instance_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tessaro::platform {

InstanceLock::InstanceLock(const std::string& programDirectory) {
    // Read-only, so that any user who may run the program from this directory
    // can take the same lock; flock on a directory needs nothing more.
    fd_ = ::open(NativePath(programDirectory).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0)
        return; // no lock to be had: better run than refuse to start for ever
    int rc;
    do
        rc = ::flock(fd_, LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc == 0) {
        held_ = true;
        return;
    }
    another_ = errno == EWOULDBLOCK;
    ::close(fd_);
    fd_ = -1;
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0)
        ::close(fd_); // closing releases the lock
}

} // namespace tessaro::platform
