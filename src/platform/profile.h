// Profile (INI) file access with the semantics of the two Windows calls it stands
// in for (GetPrivateProfileString, WritePrivateProfileString), argument order
// included; named apart from them, so that windows.h's macros leave them be. Byte strings
// (Windows-1252) throughout; a file saved as UTF-8 or UTF-16 is read and written back in that
// encoding.
#pragma once

#include "platform/text_encoding.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaro::platform {

// The largest profile file read or written: far beyond any real Settings.ini,
// and small enough that reading it never holds the operator up.
inline constexpr std::size_t kMaxProfileBytes = 1u << 20;

struct ProfileString {
    std::string text; // at most size - 1 bytes
    std::size_t copied = 0;
    // The file held a character Windows-1252 lacks in this value; it reads as "?".
    bool lossy = false;
};

// A profile file read once and split into lines once, however many values are
// then taken from it. A file in UTF-8 or UTF-16 (as Windows editors save it)
// is read as such; names and values come out as Windows-1252.
class Profile {
public:
    // A missing or unreadable file reads as an empty one; so does a file larger
    // than kMaxProfileBytes, which TooLarge() then tells.
    explicit Profile(const std::string& file);
    Profile(const Profile&) = delete;
    Profile& operator=(const Profile&) = delete;

    // As GetPrivateProfileString, from this reading.
    ProfileString Get(const std::string& section, const std::string& key, const std::string& def,
                      std::size_t size) const;
    // The file's new bytes with the value written as WritePrivateProfileString
    // does, in the encoding the file came in; nullopt when the key could not be
    // given back.
    std::optional<std::string> With(std::string_view section, std::string_view key,
                                    std::string_view value) const;

    bool TooLarge() const { return tooLarge_; }
    bool Exists() const { return exists_; }

private:
    struct Line {
        std::string_view body;
        std::string_view end; // "\r\n", "\n", "\r", or "" on a last line without one
    };
    struct Section {
        std::string_view name;
        std::size_t header; // index of its header line
        std::size_t end;    // index of the next header line, or of the end
    };
    struct Located {
        std::optional<std::size_t> section; // index of the header line
        std::optional<std::size_t> key;     // index of the key's line
        // The section's last key line (its header when it has none): a new key goes
        // after it, so comments and blank lines closing the section stay below.
        std::size_t lastKeyLine = 0;
    };
    void Parse();
    Located Locate(std::string_view section, std::string_view key) const;

    DecodedText decoded_;
    std::vector<Line> lines_;       // views into decoded_.text
    std::vector<Section> sections_; // in file order
    bool tooLarge_ = false;
    bool exists_ = false;
};

// The value of key in section, or def without its trailing blanks when file,
// section or key is missing. Section and key match regardless of letter case
// (Windows-1252 letters included); white space around the value and one pair of
// enclosing quotation marks are removed; cut to size - 1 bytes. CR LF, LF and CR
// end lines; a line beginning with ";" is a comment; a section header is the
// text after "[" up to the first "]" or the line end.
ProfileString ReadProfileString(const std::string& section, const std::string& key,
                                const std::string& def, std::size_t size, const std::string& file);

// Creates file, section and key where missing, replaces an existing value in
// place and leaves every other line byte for byte as it was. Section and key are
// stored without surrounding blanks; a new key follows the section's last key,
// above the comments and blank lines that close the section. Written lines end
// in CR LF. Returns false when the file cannot be written or would not give the
// key back (line breaks, "=" in the key, a key beginning with "[" or ";", "]" in
// the section name, an empty name).
bool WriteProfileString(const std::string& section, const std::string& key,
                        const std::string& value, const std::string& file);

} // namespace tessaro::platform
