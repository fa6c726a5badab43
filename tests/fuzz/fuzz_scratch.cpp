// The scratch directory of a fuzzer process: made once, removed
// when the process exits normally.
#include "fuzz_input.h"

#include <cstdlib>
#include <filesystem>

namespace tessaro::fuzz {
namespace {

std::string& Dir() {
    static std::string dir;
    return dir;
}

void RemoveDir() {
    std::error_code ec;
    std::filesystem::remove_all(Dir(), ec);
}

} // namespace

std::string ScratchDirectory() {
    if (Dir().empty()) {
        // Memory-backed when possible: the file services sync every write, which
        // on a disk would slow each run down to milliseconds.
        std::error_code ec;
        const std::filesystem::path base =
            std::getenv("TMPDIR") == nullptr && std::filesystem::is_directory("/dev/shm", ec)
                ? std::filesystem::path("/dev/shm")
                : std::filesystem::temp_directory_path();
        std::string pattern = (base / "tessaro-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            Fail("mkdtemp");
        Dir() = pattern;
        std::atexit(RemoveDir);
    }
    return Dir();
}

} // namespace tessaro::fuzz
