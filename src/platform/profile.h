// Profile (INI) file access with the semantics of the two Windows calls it stands
// in for, names and argument order included. Byte strings (Windows-1252) throughout.
#pragma once

#include <cstddef>
#include <string>

namespace tessaro::platform {

struct ProfileString {
    std::string text; // at most size - 1 bytes
    std::size_t copied = 0;
};

// The value of key in section, or def without its trailing blanks when file,
// section or key is missing. Section and key match regardless of letter case
// (Windows-1252 letters included); white space around the value and one pair of
// enclosing quotation marks are removed; cut to size - 1 bytes. CR LF, LF and CR
// end lines; a line beginning with ";" is a comment; a section header is the
// text after "[" up to the first "]" or the line end.
ProfileString GetPrivateProfileString(const std::string& section, const std::string& key,
                                      const std::string& def, std::size_t size,
                                      const std::string& file);

// Creates file, section and key where missing, replaces an existing value in
// place and leaves every other line byte for byte as it was. Section and key are
// stored without surrounding blanks; a new key follows the section's last key,
// above the comments and blank lines that close the section. Written lines end
// in CR LF. Returns false when the file cannot be written or would not give the
// key back (line breaks, "=" in the key, a key beginning with "[" or ";", "]" in
// the section name, an empty name).
bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& file);

} // namespace tessaro::platform
