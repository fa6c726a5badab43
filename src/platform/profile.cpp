#include "platform/profile.h"

#include "platform/codec.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/trim.h"

#include <exception>
#include <optional>
#include <string_view>
#include <vector>

namespace tessaro::platform {
namespace {

// Names match without their surrounding blanks, as the file's own names are
// read, so a name written with blanks is found again by the same name.
bool SameName(std::string_view a, std::string_view b) {
    return platform::cp1252::EqualsIgnoringCase(TrimCWhiteSpace(a), TrimCWhiteSpace(b));
}

// One physical line of the file: its bytes up to the line end, and the line end
// itself, so that untouched lines are written back exactly as they came.
struct Line {
    std::string_view body;
    std::string_view end; // "\r\n", "\n", "\r", or "" on a last line without one
};

// CR LF, LF and a CR alone each end a line: files saved with old Mac line ends
// are read line by line like any other.
std::vector<Line> SplitLines(std::string_view content) {
    std::vector<Line> lines;
    while (!content.empty()) {
        const auto brk = content.find_first_of("\r\n");
        if (brk == std::string_view::npos) {
            lines.push_back({content, {}});
            break;
        }
        const std::size_t endLen =
            content[brk] == '\r' && brk + 1 < content.size() && content[brk + 1] == '\n' ? 2 : 1;
        lines.push_back({content.substr(0, brk), content.substr(brk, endLen)});
        content.remove_prefix(brk + endLen);
    }
    return lines;
}

// A line whose first non-blank is "[" opens a section named by the text up to
// the first "]", or to the line end when there is none.
std::optional<std::string_view> SectionName(const Line& line) {
    const std::string_view t = TrimCWhiteSpace(line.body);
    if (t.empty() || t.front() != '[')
        return std::nullopt;
    return TrimCWhiteSpace(t.substr(1, t.find(']', 1) - 1));
}

struct KeyLine {
    std::string_view key;
    std::optional<std::string_view> value; // nullopt: no "=" on the line
};

// Blank lines and comments (first non-blank ";") carry no key.
std::optional<KeyLine> ParseKeyLine(const Line& line) {
    const std::string_view t = TrimCWhiteSpace(line.body);
    if (t.empty() || t.front() == ';')
        return std::nullopt;
    const auto eq = t.find('=');
    if (eq == std::string_view::npos)
        return KeyLine{t, std::nullopt};
    return KeyLine{TrimCWhiteSpace(t.substr(0, eq)), TrimCWhiteSpace(t.substr(eq + 1))};
}

struct Located {
    std::optional<std::size_t> section; // index of the header line
    std::optional<std::size_t> key;     // index of the key's line
    // The section's last key line (its header when it has none): a new key goes
    // after it, so comments and blank lines closing the section stay below.
    std::size_t lastKeyLine = 0;
};

// First section of that name, and the first line of that key within it.
Located Locate(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Located at;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = SectionName(lines[i]);
        if (!at.section) {
            if (name && SameName(*name, section)) {
                at.section = i;
                at.lastKeyLine = i;
            }
            continue;
        }
        if (name)
            break;
        const auto kl = ParseKeyLine(lines[i]);
        if (!kl)
            continue;
        at.lastKeyLine = i;
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

bool HasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

// Names the file could not give back as written are refused rather than stored:
// a line break would let a value open sections or keys of its own, a key with
// "=" or beginning with "[" or ";" would read as another key, a section header
// or a comment, and a "]" in a section name would end the header early and put
// the key into another section.
bool Storable(std::string_view section, std::string_view key, std::string_view value) {
    return !section.empty() && !key.empty() && !HasLineBreak(section) && !HasLineBreak(key) &&
           !HasLineBreak(value) && section.find(']') == std::string_view::npos &&
           key.find('=') == std::string_view::npos && key.front() != '[' && key.front() != ';';
}

bool EndsInLineBreak(std::string_view s) {
    return !s.empty() && (s.back() == '\n' || s.back() == '\r');
}

} // namespace

ProfileString GetPrivateProfileString(const std::string& section, const std::string& key,
                                      const std::string& def, std::size_t size,
                                      const std::string& file) {
    std::string_view value = def;
    while (!value.empty() && value.back() == ' ')
        value.remove_suffix(1);
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

bool WritePrivateProfileString(const std::string& sectionName, const std::string& keyName,
                               const std::string& value, const std::string& file) {
    const std::string_view section = TrimCWhiteSpace(sectionName);
    const std::string_view key = TrimCWhiteSpace(keyName);
    if (!Storable(section, key, value))
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
                    out += lines[i].end.empty() ? std::string_view("\r\n") : lines[i].end;
                } else {
                    out += lines[i].body;
                    out += lines[i].end;
                }
            }
        } else if (at.section) {
            for (std::size_t i = 0; i < lines.size(); ++i) {
                out += lines[i].body;
                out += lines[i].end;
                if (i == at.lastKeyLine) {
                    if (lines[i].end.empty())
                        out += "\r\n";
                    out.append(key).append("=").append(value).append("\r\n");
                }
            }
        } else {
            out = content;
            if (!out.empty() && !EndsInLineBreak(out))
                out += "\r\n";
            out.append("[").append(section).append("]\r\n");
            out.append(key).append("=").append(value).append("\r\n");
        }
        // Replaced only once the new content is complete: a full disk must not
        // leave a cut Settings.ini that reads as defaults.
        platform::ReplaceWholeFile(file, out);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace tessaro::platform
