// Previous-instance test: a lock on the file Tessaro.lock in the program
// directory, which is opened for writing. Only those who may write there, and
// so may run the program here (the counter and the settings live beside it),
// can open it that way, and a lock nobody can open cannot be held by a
// stranger; nor can a folder that may be entered but not listed be used
// without it. The system drops the lock when the holder ends, however it ends.
// When no lock can be had the program says so and ends: it never runs unlocked.
#pragma once

#include <string>

namespace tessaro::platform {

inline constexpr const char* kLockFileName = "Tessaro.lock";

class InstanceLock {
public:
    // Tries to take the lock for this program directory.
    explicit InstanceLock(const std::string& programDirectory);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when another instance of the program holds the lock.
    bool AnotherInstanceRunning() const { return another_; }
    bool Held() const { return held_; }
    // Neither held nor held by another instance: the German message (Windows-1252)
    // saying why, for the operator; empty otherwise.
    const std::string& Failure() const { return failure_; }

private:
    // The message for a lock file that could not be opened or locked.
    void Refuse(const std::string& reason);

#ifdef _WIN32
    void* file_ = nullptr; // HANDLE of the open lock file
#else
    int fd_ = -1;
#endif
    bool held_ = false;
    bool another_ = false;
    std::string failure_;
};

} // namespace tessaro::platform
