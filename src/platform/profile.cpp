#include "platform/profile.h"

#include "platform/cp1252.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/text_encoding.h"
#include "platform/trim.h"

#include <exception>
#include <optional>
#include <string_view>
#include <vector>

namespace tessaro::platform {
namespace {

// Names match without their surrounding blanks, as the file's own names are
// read, so a name written with blanks is found again by the same name. The
// file's name is compared as the Windows-1252 text it stands for.
bool SameName(std::string_view inFile, TextEncoding encoding, std::string_view wanted) {
    inFile = TrimCWhiteSpace(inFile);
    wanted = TrimCWhiteSpace(wanted);
    if (encoding == TextEncoding::Windows1252)
        return platform::cp1252::EqualsIgnoringCase(inFile, wanted);
    return platform::cp1252::EqualsIgnoringCase(ToWindows1252(inFile, encoding), wanted);
}

// A line whose first non-blank is "[" opens a section named by the text up to
// the first "]", or to the line end when there is none.
std::optional<std::string_view> SectionName(std::string_view line) {
    const std::string_view t = TrimCWhiteSpace(line);
    if (t.empty() || t.front() != '[')
        return std::nullopt;
    return TrimCWhiteSpace(t.substr(1, t.find(']', 1) - 1));
}

struct KeyLine {
    std::string_view key;
    std::optional<std::string_view> value; // nullopt: no "=" on the line
};

// Blank lines and comments (first non-blank ";") carry no key.
std::optional<KeyLine> ParseKeyLine(std::string_view line) {
    const std::string_view t = TrimCWhiteSpace(line);
    if (t.empty() || t.front() == ';')
        return std::nullopt;
    const auto eq = t.find('=');
    if (eq == std::string_view::npos)
        return KeyLine{t, std::nullopt};
    return KeyLine{TrimCWhiteSpace(t.substr(0, eq)), TrimCWhiteSpace(t.substr(eq + 1))};
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

Profile::Profile(const std::string& file) {
    try {
        if (platform::FileExists(file)) {
            decoded_ = DecodeText(platform::ReadWholeFile(file, kMaxProfileBytes));
            exists_ = true;
        }
    } catch (const FileTooLarge&) {
        tooLarge_ = true;
        exists_ = true;
    } catch (const std::exception&) {
        // an unreadable file reads like a missing one
    }
    Parse();
}

// One pass: the lines with their own line ends, so that untouched lines are
// written back exactly as they came, and where each section begins and ends.
// CR LF, LF and a CR alone each end a line: files saved with old Mac line ends
// are read line by line like any other.
void Profile::Parse() {
    std::string_view content = decoded_.text;
    while (!content.empty()) {
        const auto brk = content.find_first_of("\r\n");
        if (brk == std::string_view::npos) {
            lines_.push_back({content, {}});
            break;
        }
        const std::size_t endLen =
            content[brk] == '\r' && brk + 1 < content.size() && content[brk + 1] == '\n' ? 2 : 1;
        lines_.push_back({content.substr(0, brk), content.substr(brk, endLen)});
        content.remove_prefix(brk + endLen);
    }
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (const auto name = SectionName(lines_[i].body)) {
            if (!sections_.empty())
                sections_.back().end = i;
            sections_.push_back({*name, i, lines_.size()});
        }
    }
}

// First section of that name, and the first line of that key within it.
Profile::Located Profile::Locate(std::string_view section, std::string_view key) const {
    Located at;
    for (const Section& s : sections_) {
        if (!SameName(s.name, decoded_.encoding, section))
            continue;
        at.section = s.header;
        at.lastKeyLine = s.header;
        for (std::size_t i = s.header + 1; i < s.end; ++i) {
            const auto kl = ParseKeyLine(lines_[i].body);
            if (!kl)
                continue;
            at.lastKeyLine = i;
            if (SameName(kl->key, decoded_.encoding, key)) {
                at.key = i;
                break;
            }
        }
        break;
    }
    return at;
}

ProfileString Profile::Get(const std::string& section, const std::string& key,
                           const std::string& def, std::size_t size) const {
    std::string value = def;
    while (!value.empty() && value.back() == ' ')
        value.pop_back();
    ProfileString result;
    const Located at = Locate(section, key);
    if (at.key) {
        const auto kl = ParseKeyLine(lines_[*at.key].body);
        if (kl->value)
            value = ToWindows1252(StripQuotes(*kl->value), decoded_.encoding, &result.lossy);
    }
    if (size == 0)
        return result;
    result.text = value.substr(0, size - 1);
    result.copied = result.text.size();
    return result;
}

std::optional<std::string> Profile::With(std::string_view sectionName, std::string_view keyName,
                                         std::string_view value) const {
    const std::string_view section1252 = TrimCWhiteSpace(sectionName);
    const std::string_view key1252 = TrimCWhiteSpace(keyName);
    if (!Storable(section1252, key1252, value))
        return std::nullopt;
    const Located at = Locate(section1252, key1252);
    // What is added is written in the file's own encoding.
    const TextEncoding encoding = decoded_.encoding;
    const std::string section = FromWindows1252(section1252, encoding);
    const std::string key = FromWindows1252(key1252, encoding);
    const std::string text = FromWindows1252(value, encoding);
    const std::string_view content = decoded_.text;
    std::string out;
    out.reserve(content.size() + section.size() + key.size() + text.size() + 8);

    if (at.key) {
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            if (i == *at.key) {
                out += ParseKeyLine(lines_[i].body)->key;
                out += '=';
                out += text;
                out += lines_[i].end.empty() ? std::string_view("\r\n") : lines_[i].end;
            } else {
                out += lines_[i].body;
                out += lines_[i].end;
            }
        }
    } else if (at.section) {
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            out += lines_[i].body;
            out += lines_[i].end;
            if (i == at.lastKeyLine) {
                if (lines_[i].end.empty())
                    out += "\r\n";
                out.append(key).append("=").append(text).append("\r\n");
            }
        }
    } else {
        out = content;
        if (!out.empty() && !EndsInLineBreak(out))
            out += "\r\n";
        out.append("[").append(section).append("]\r\n");
        out.append(key).append("=").append(text).append("\r\n");
    }
    return EncodeText(out, encoding);
}

ProfileString ReadProfileString(const std::string& section, const std::string& key,
                                const std::string& def, std::size_t size, const std::string& file) {
    return Profile(file).Get(section, key, def, size);
}

bool WriteProfileString(const std::string& section, const std::string& key,
                        const std::string& value, const std::string& file) {
    try {
        if (!platform::FileExists(file) && platform::DirectoryExists(file))
            return false;
        const Profile profile(file);
        // A file too large to read is never written over: it may hold more than
        // what could be read of it.
        if (profile.TooLarge())
            return false;
        // A file that exists but cannot be read is not replaced by one holding
        // only this key.
        if (profile.Exists() != platform::FileExists(file))
            return false;
        const std::optional<std::string> out = profile.With(section, key, value);
        if (!out)
            return false;
        // Replaced only once the new content is complete: a full disk must not
        // leave a cut Settings.ini that reads as defaults.
        platform::ReplaceWholeFile(file, *out);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace tessaro::platform
