#include "gdt/claim.h"

#include <charconv>

namespace tessaro::gdt {
namespace {

constexpr std::string_view kClaimEnd = ".claim";
constexpr std::string_view kReadyEnd = ".ready";

std::string Marker(const std::string& workplace) {
    return ".tessaro-" + workplace + ".";
}

} // namespace

std::string WorkplaceTag(const std::string& hostName, const std::string& programDirectory) {
    // FNV-1a over both, with a separator that neither can hold.
    std::uint64_t hash = 14695981039346656037ull;
    const auto mix = [&](std::string_view bytes) {
        for (const char c : bytes) {
            hash ^= static_cast<unsigned char>(c);
            hash *= 1099511628211ull;
        }
    };
    mix(hostName);
    mix(std::string_view("\0", 1));
    mix(programDirectory);
    static constexpr char kHex[] = "0123456789abcdef";
    std::string tag(16, '0');
    for (std::size_t i = 0; i < tag.size(); ++i)
        tag[i] = kHex[(hash >> (60 - 4 * i)) & 15];
    return tag;
}

std::string ClaimName(const Claim& claim, const std::string& workplace) {
    return claim.requestName + Marker(workplace) + std::to_string(claim.number) + "." +
           claim.lumeoId + std::string(claim.ready ? kReadyEnd : kClaimEnd);
}

std::optional<Claim> ParseClaimName(std::string_view name, const std::string& workplace) {
    Claim claim;
    if (name.ends_with(kReadyEnd))
        claim.ready = true;
    else if (!name.ends_with(kClaimEnd))
        return std::nullopt;
    name.remove_suffix(kClaimEnd.size());
    const std::string marker = Marker(workplace);
    const auto at = name.find(marker);
    if (at == std::string_view::npos || at == 0)
        return std::nullopt;
    claim.requestName = std::string(name.substr(0, at));
    std::string_view rest = name.substr(at + marker.size());
    const char* end = rest.data() + rest.size();
    const auto [next, err] = std::from_chars(rest.data(), end, claim.number);
    if (err != std::errc() || next == rest.data() || next == end || *next != '.')
        return std::nullopt;
    claim.lumeoId = std::string(next + 1, end);
    return claim;
}

} // namespace tessaro::gdt
