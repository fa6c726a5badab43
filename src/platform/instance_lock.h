// Previous-instance test: the program directory itself is locked, since the
// counter and the settings that two instances would share live there. Every
// process that uses the directory sees the same lock, whatever its user, its
// environment or its working directory, and no file is created for it. The
// kernel releases the lock when the holder dies. On Windows a named mutex in
// the Global namespace keyed by the program directory, which the system
// removes with the last handle.
#pragma once

#include <string>

namespace tessaro::platform {

class InstanceLock {
public:
    // Tries to take the lock for this program directory (Windows-1252 path).
    explicit InstanceLock(const std::string& programDirectory);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when another instance holds the lock. A directory that cannot be
    // locked at all does not count as another instance.
    bool AnotherInstanceRunning() const { return another_; }
    bool Held() const { return held_; }

private:
#ifdef _WIN32
    void* mutex_ = nullptr; // HANDLE of the named mutex
#else
    int fd_ = -1;
#endif
    bool held_ = false;
    bool another_ = false;
};

} // namespace tessaro::platform
