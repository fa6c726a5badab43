// Where the commit in flight is written down before it touches any file: a
// small record that survives a crash, so that the next start acts only on
// what it names. The lock file's holder keeps it (InstanceLock), so only the
// running instance writes it, and a program folder that may not be written
// (only its files may) is no obstacle.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tessaro::platform {

// The largest record a store takes: two paths of 32,768 characters and a few
// names fit.
inline constexpr std::size_t kMaxRecordBytes = 256 * 1024;

class RecordStore {
public:
    virtual ~RecordStore() = default;
    // The last record written and not cleared; nullopt when there is none,
    // or when what is there does not check out as a whole (torn by a crash:
    // "nothing started"). Throws PlatformError when it cannot be read at all.
    virtual std::optional<std::string> Read() const = 0;
    // Replaces the record and makes it durable before returning; throws
    // PlatformError. A write cut short leaves the record before it or this
    // one, never a mixture and never none where there was one.
    virtual void Write(std::string_view bytes) = 0;
    // No record from now on, durably; throws PlatformError.
    virtual void Clear() = 0;
};

} // namespace tessaro::platform
