// Profile read from an arbitrary file: the result is bounded by the buffer,
// reported with its true length, and made only of bytes the file or the
// default holds.
#include "fuzz_input.h"
#include "platform/profile.h"

#include <fstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaro;
    const auto parts = fuzz::Parts(data, size, 5);
    const std::string& content = parts[0];
    const std::string& section = parts[1];
    const std::string& key = parts[2];
    const std::string& def = parts[3];
    // The buffer size, taken from the last part so that small ones occur often.
    const std::size_t bufferSize = parts[4].empty() ? 256 : static_cast<unsigned char>(parts[4][0]);

    const std::string file = fuzz::ScratchDirectory() + "/Settings.ini";
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
    }
    const platform::ProfileString r =
        platform::ReadProfileString(section, key, def, bufferSize, file);
    fuzz::Check(r.copied == r.text.size(), "copied count differs from the text");
    fuzz::Check(bufferSize == 0 ? r.text.empty() : r.text.size() < bufferSize,
                "value longer than the buffer");
    fuzz::Check(def.compare(0, r.text.size(), r.text) == 0 ||
                    content.find(r.text) != std::string::npos,
                "value neither from the file nor the default", r.text);

    const platform::ProfileString again =
        platform::ReadProfileString(section, key, def, bufferSize, file);
    fuzz::Check(again.text == r.text, "two reads of one file differ");
    return 0;
}
