// Previous-instance test: a lock on the file Tessaro.lock in the program
// directory, which is opened for writing. Only those who may write there, and
// so may run the program here (the counter and the settings live beside it),
// can open it that way, and a lock nobody can open cannot be held by a
// stranger; nor can a folder that may be entered but not listed be used
// without it. The system drops the lock when the holder ends, however it ends.
// When no lock can be had the program says so and ends: it never runs unlocked.
#pragma once

#include "platform/record_store.h"

#include <cstdint>
#include <string>

namespace tessaro::platform {

inline constexpr const char* kLockFileName = "Tessaro.lock";

// Held, it also keeps the record of the commit in flight, in the lock file
// itself: only the holder writes it.
class InstanceLock : public RecordStore {
public:
    // Tries to take the lock for this program directory.
    explicit InstanceLock(const std::string& programDirectory);
    ~InstanceLock() override;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when another instance of the program holds the lock.
    bool AnotherInstanceRunning() const { return another_; }
    bool Held() const { return held_; }
    // Neither held nor held by another instance: the German message (Windows-1252)
    // saying why, for the operator; empty otherwise.
    const std::string& Failure() const { return failure_; }

    // The record, in two slots of the lock file: a write goes to the slot that
    // does not hold the current record, with a higher generation, and is
    // synced; a slot that does not check out (length, checksum) counts as
    // empty, so a write cut short leaves the record before it.
    std::optional<std::string> Read() const override;
    void Write(std::string_view bytes) override;
    void Clear() override;

private:
    struct Slot {
        std::uint64_t generation = 0;
        std::optional<std::string> payload; // nullopt: the slot does not check out
    };
    Slot ReadSlot(int index) const;
    int Current(const Slot slots[2]) const;
    // Platform parts: bytes at an offset of the held file (fewer at its end),
    // and bytes written there and synced to the disk.
    std::string ReadAt(std::uint64_t offset, std::size_t size) const;
    void WriteAt(std::uint64_t offset, std::string_view bytes);

    // The message for a lock file that could not be opened or locked.
    void Refuse(const std::string& reason);

#ifdef _WIN32
    void* file_ = nullptr; // HANDLE of the open lock file
#else
    int fd_ = -1;
#endif
    std::string path_; // of the lock file, for messages
    bool held_ = false;
    bool another_ = false;
    std::string failure_;
};

} // namespace tessaro::platform
