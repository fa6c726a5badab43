// Previous-instance test: an advisory flock on a lock file keyed by the program
// directory and kept outside it. The kernel releases it when the holder dies.
#pragma once

#include <string>

namespace tessaro {

class platform::InstanceLock {
public:
    // Tries to take the lock for this program directory (Windows-1252 path).
    explicit platform::InstanceLock(const std::string& programDirectory);
    ~platform::InstanceLock();
    platform::InstanceLock(const platform::InstanceLock&) = delete;
    platform::InstanceLock& operator=(const platform::InstanceLock&) = delete;

    // True when another instance holds the lock. A lock file that cannot be
    // opened at all does not count as another instance.
    bool AnotherInstanceRunning() const { return another_; }
    bool Held() const { return held_; }

    // Where the lock file lives (for tests and diagnostics).
    static std::string LockFilePath(const std::string& programDirectory);

private:
    int fd_ = -1;
    bool held_ = false;
    bool another_ = false;
};

} // namespace tessaro
