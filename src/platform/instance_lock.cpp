#include "platform/instance_lock.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaro {
namespace {

// FNV-1a: stable across runs and builds, which std::hash does not promise.
std::uint64_t Fnv1a(const std::string& bytes) {
    std::uint64_t h = 14695981039346656037ull;
    for (char c : bytes) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return h;
}

std::string LockDirectory() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat st {};
    if (runtime != nullptr && runtime[0] == '/' && ::stat(runtime, &st) == 0 && S_ISDIR(st.st_mode))
        return runtime;
    return "/tmp";
}

} // namespace

std::string platform::InstanceLock::LockFilePath(const std::string& programDirectory) {
    // The user id keeps two users of one installation from blocking each other
    // in the shared /tmp.
    char name[64];
    std::snprintf(name, sizeof name, "tessaro-%u-%016llx.lock", static_cast<unsigned>(::getuid()),
                  static_cast<unsigned long long>(Fnv1a(programDirectory)));
    return LockDirectory() + "/" + name;
}

platform::InstanceLock::InstanceLock(const std::string& programDirectory) {
    const std::string path = LockFilePath(programDirectory);
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
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

platform::InstanceLock::~platform::InstanceLock() {
    if (fd_ >= 0)
        ::close(fd_); // closing releases the lock
}

} // namespace tessaro
