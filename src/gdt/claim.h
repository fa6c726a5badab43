// The name a request takes while this workplace commits it, beside it in its
// folder. It says after a crash whose claim it is, which result file belongs
// to it and how far the commit came, so that the next start can finish or
// undo it without guessing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessaro::gdt {

struct Claim {
    std::string requestName; // the request's own file name, to put it back under
    std::int16_t number = 0;
    std::string lumeoId;
    // Ready: the .zzz was complete and synced before the claim was marked so.
    // From then on a .zzz that is gone has become the .gdt.
    bool ready = false;
};

// Tells workplaces apart that share the request's folder: two program folders,
// or two computers unpacked from one archive, get different tags.
std::string WorkplaceTag(const std::string& hostName, const std::string& programDirectory);

// "<request name>.tessaro-<tag>.<number>.<Lumeo ID>.claim" (or ".ready").
std::string ClaimName(const Claim& claim, const std::string& workplace);

// The claim a file name stands for, when it is one of this workplace's.
std::optional<Claim> ParseClaimName(std::string_view fileName, const std::string& workplace);

} // namespace tessaro::gdt
