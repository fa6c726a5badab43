// A record store in memory, for tests that need one but not the lock file.
#pragma once

#include "platform/record_store.h"

#include <optional>
#include <string>

namespace tessaro::test {

class MemoryRecordStore : public platform::RecordStore {
public:
    std::optional<std::string> Read() const override { return bytes; }
    void Write(std::string_view b) override { bytes = std::string(b); }
    void Clear() override { bytes.reset(); }

    std::optional<std::string> bytes;
};

} // namespace tessaro::test
