// What a commit writes down before it touches a file, so that the next start
// can finish or undo it from this alone: whatever the settings, the
// computer's name or the folders' spelling say by then. The bytes go into the
// program's platform::RecordStore.
#pragma once

#include "platform/record_store.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaro::gdt {

enum class CommitStage : int {
    Claiming = 1, // about to claim or claimed; nothing is delivered
    Ready = 2,    // the .zzz is complete, synced and its name durable
};

struct CommitEntry {
    std::string runId;
    CommitStage stage = CommitStage::Claiming;
    std::string requestPath; // where the request lies and goes back to
    std::string claimPath;   // its name while this run holds it
    std::string pathD;       // the target folder as it was given
    std::string pathDIdentity;
    std::string temporaryPath; // the .zzz
    std::string finalPath;     // the .gdt
    std::string line;          // what follows the request in the result
    std::uint64_t resultSize = 0;
    std::uint64_t resultHash = 0;
};

// A 64-bit FNV-1a over the parts one after the other: enough to tell the
// run's result from another file of the same size.
std::uint64_t ContentHash(std::initializer_list<std::string_view> parts);

// The claim's name beside the request: the run's identifier in it, so that
// no two runs ever want the same name, whatever their numbers.
std::string ClaimPathFor(const std::string& requestPath, const std::string& runId);

std::string SerializeEntries(const std::vector<CommitEntry>& entries);
// nullopt when the bytes are not a record of this program's.
std::optional<std::vector<CommitEntry>> ParseEntries(std::string_view bytes);

// The commits in flight that the store holds (none when it is empty); throws
// platform::PlatformError when it cannot be read, or holds what this program
// did not write (PathFileAccess, naming the lock file).
std::vector<CommitEntry> LoadEntries(const platform::RecordStore& store);
// Replaces them, durably; no entries clear the store.
void SaveEntries(platform::RecordStore& store, const std::vector<CommitEntry>& entries);

} // namespace tessaro::gdt
