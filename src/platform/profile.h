// Profile (INI) file access with the semantics of the two Windows calls it stands
// in for, names and argument order included. Byte strings (Windows-1252) throughout.
#pragma once

#include <cstddef>
#include <string>

namespace tessaro {

struct platform::ProfileString {
    std::string text; // at most size - 1 bytes
    std::size_t copied = 0;
};

// The value of key in section, or def when file, section or key is missing.
// Section and key match regardless of letter case; white space around the value
// and one pair of enclosing quotation marks are removed; cut to size - 1 bytes.
platform::ProfileString platform::GetPrivateProfileString(const std::string& section, const std::string& key,
                                      const std::string& def, std::size_t size,
                                      const std::string& file);

// Creates file, section and key where missing, replaces an existing value in
// place and leaves every other line byte for byte as it was. New lines end in
// CR LF. Returns false when the file cannot be written.
bool platform::WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& file);

} // namespace tessaro
