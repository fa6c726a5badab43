// Where the shared GDT sample files are: $TESSARO_GDT_SAMPLES, or the folder
// shared/gdt-samples beside the checkout, searched upwards from the source tree.
// The build passes the source tree's absolute path, because __FILE__ may be
// relative (ccache with base_dir rewrites it) and an upward search from there
// finds nothing.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace tessaro::test {

inline std::string GdtSamplesDir() {
    if (const char* env = std::getenv("TESSARO_GDT_SAMPLES"); env != nullptr && *env != '\0')
        return env;
    std::filesystem::path dir = TESSARO_SOURCE_DIR;
    for (; !dir.empty() && dir != dir.root_path(); dir = dir.parent_path()) {
        const auto candidate = dir / "shared" / "gdt-samples";
        if (std::filesystem::is_directory(candidate))
            return candidate.string();
    }
    return {};
}

} // namespace tessaro::test
