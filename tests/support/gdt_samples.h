// Where the shared GDT sample files are: $TESSARO_GDT_SAMPLES, or the folder
// shared/gdt-samples beside the checkout (searched upwards from this source).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace tessaro::test {

inline std::string GdtSamplesDir() {
    if (const char* env = std::getenv("TESSARO_GDT_SAMPLES"))
        return env;
    std::filesystem::path dir = std::filesystem::path(__FILE__).parent_path();
    for (; !dir.empty() && dir != dir.root_path(); dir = dir.parent_path()) {
        const auto candidate = dir / "shared" / "gdt-samples";
        if (std::filesystem::is_directory(candidate))
            return candidate.string();
    }
    return {};
}

} // namespace tessaro::test
