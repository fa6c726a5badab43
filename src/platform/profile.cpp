#include "platform/profile.h"

#include "platform/codec.h"
#include "platform/errors.h"
#include "platform/files.h"

#include <exception>
#include <optional>
#include <string_view>
#include <vector>

namespace tessaro {
namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

// Names match without their surrounding blanks, as the file's own names are
// read, so a name written with blanks is found again by the same name.
bool SameName(std::string_view a, std::string_view b) {
    a = Trim(a);
    b = Trim(b);
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (platform::cp1252::ToUpper(a[i]) != platform::cp1252::ToUpper(b[i]))
            return false;
    return true;
}

// One physical line of the file: its bytes up to the line end, and the line end
// itself, so that untouched lines are written back exactly as they came.
struct Line {
    std::string_view body;
    std::string_view end; // "\r\n", "\n", or "" on a last line without one
};

std::vector<Line> SplitLines(std::string_view content) {
    std::vector<Line> lines;
    while (!content.empty()) {
        const auto lf = content.find('\n');
        std::string_view whole = lf == std::string_view::npos ? content : content.substr(0, lf + 1);
        content.remove_prefix(whole.size());
        std::size_t endLen = 0;
        if (!whole.empty() && whole.back() == '\n')
            endLen = whole.size() >= 2 && whole[whole.size() - 2] == '\r' ? 2 : 1;
        lines.push_back(
            {whole.substr(0, whole.size() - endLen), whole.substr(whole.size() - endLen)});
    }
    return lines;
}

// A line "[name]" opens a section; the name runs to the last "]".
std::optional<std::string_view> SectionName(const Line& line) {
    const std::string_view t = Trim(line.body);
    if (t.empty() || t.front() != '[')
        return std::nullopt;
    const auto close = t.find_last_of(']');
    if (close == std::string_view::npos || close == 0)
        return std::nullopt;
    return Trim(t.substr(1, close - 1));
}

struct KeyLine {
    std::string_view key;
    std::optional<std::string_view> value; // nullopt: no "=" on the line
};

std::optional<KeyLine> ParseKeyLine(const Line& line) {
    const std::string_view t = Trim(line.body);
    if (t.empty())
        return std::nullopt;
    const auto eq = t.find('=');
    if (eq == std::string_view::npos)
        return KeyLine{t, std::nullopt};
    return KeyLine{Trim(t.substr(0, eq)), Trim(t.substr(eq + 1))};
}

struct Located {
    std::optional<std::size_t> section; // index of the header line
    std::optional<std::size_t> key;     // index of the key's line
    std::size_t lastInSection = 0;      // last non-blank line of the section
};

// First section of that name, and the first line of that key within it.
Located Locate(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Located at;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = SectionName(lines[i]);
        if (!at.section) {
            if (name && SameName(*name, section)) {
                at.section = i;
                at.lastInSection = i;
            }
            continue;
        }
        if (name)
            break;
        const auto kl = ParseKeyLine(lines[i]);
        if (!kl)
            continue;
        at.lastInSection = i;
        if (SameName(kl->key, key)) {
            at.key = i;
            break;
        }
    }
    return at;
}

std::string_view StripQuotes(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

bool HasLineBreak(const std::string& s) {
    return s.find_first_of("\r\n") != std::string::npos;
}

} // namespace

platform::ProfileString platform::GetPrivateProfileString(const std::string& section, const std::string& key,
                                      const std::string& def, std::size_t size,
                                      const std::string& file) {
    std::string_view value = def;
    std::string content;
    try {
        if (platform::FileExists(file))
            content = platform::ReadWholeFile(file);
    } catch (const std::exception&) {
        content.clear(); // an unreadable file reads like a missing one
    }
    const std::vector<Line> lines = SplitLines(content);
    const Located at = Locate(lines, section, key);
    if (at.key) {
        const auto kl = ParseKeyLine(lines[*at.key]);
        if (kl->value)
            value = StripQuotes(*kl->value);
    }
    platform::ProfileString result;
    if (size == 0)
        return result;
    result.text = std::string(value.substr(0, size - 1));
    result.copied = result.text.size();
    return result;
}

bool platform::WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& file) {
    // A line break in any part would let a value open sections or keys of its own;
    // so would a key line beginning with "[", which reads as a section header.
    if (section.empty() || key.empty() || HasLineBreak(section) || HasLineBreak(key) ||
        HasLineBreak(value) || key.find('=') != std::string::npos || Trim(key).starts_with('['))
        return false;
    try {
        std::string content;
        if (platform::FileExists(file))
            content = platform::ReadWholeFile(file);
        else if (platform::DirectoryExists(file))
            return false;

        const std::vector<Line> lines = SplitLines(content);
        const Located at = Locate(lines, section, key);
        std::string out;
        out.reserve(content.size() + section.size() + key.size() + value.size() + 8);

        if (at.key) {
            for (std::size_t i = 0; i < lines.size(); ++i) {
                if (i == *at.key) {
                    out += ParseKeyLine(lines[i])->key;
                    out += '=';
                    out += value;
                } else {
                    out += lines[i].body;
                }
                out += lines[i].end;
            }
        } else if (at.section) {
            for (std::size_t i = 0; i < lines.size(); ++i) {
                out += lines[i].body;
                out += lines[i].end;
                if (i == at.lastInSection) {
                    if (lines[i].end.empty())
                        out += "\r\n";
                    out += key + "=" + value + "\r\n";
                }
            }
        } else {
            out = content;
            if (!out.empty() && out.back() != '\n')
                out += "\r\n";
            out += "[" + section + "]\r\n" + key + "=" + value + "\r\n";
        }
        // Replaced only once the new content is complete: a full disk must not
        // leave a cut Settings.ini that reads as defaults.
        platform::ReplaceWholeFile(file, out);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace tessaro
