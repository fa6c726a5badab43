// Splitting one fuzzer input into several byte strings, and the checks the
// targets use: a failed property aborts so that libFuzzer keeps the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace tessaro::fuzz {

// The input cut at every "\x00\x00" pair into at most `count` parts; missing
// parts are empty. A separator that rarely occurs in text keeps seeds readable.
inline std::vector<std::string> Parts(const std::uint8_t* data, std::size_t size,
                                      std::size_t count) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> parts;
    while (parts.size() + 1 < count) {
        const auto at = rest.find(std::string_view("\0\0", 2));
        if (at == std::string_view::npos)
            break;
        parts.emplace_back(rest.substr(0, at));
        rest.remove_prefix(at + 2);
    }
    parts.emplace_back(rest);
    parts.resize(count);
    return parts;
}

[[noreturn]] inline void Fail(const char* what, const std::string& detail = {}) {
    std::fprintf(stderr, "property violated: %s\n", what);
    if (!detail.empty()) {
        std::fprintf(stderr, "detail (%zu bytes): ", detail.size());
        std::fwrite(detail.data(), 1, detail.size(), stderr);
        std::fputc('\n', stderr);
    }
    std::abort();
}

inline void Check(bool ok, const char* what, const std::string& detail = {}) {
    if (!ok)
        Fail(what, detail);
}

// A private scratch directory for targets that go through the file system.
std::string ScratchDirectory();

} // namespace tessaro::fuzz
