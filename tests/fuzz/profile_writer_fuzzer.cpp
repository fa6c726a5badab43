// Profile write into an arbitrary file. After a successful write the key reads
// back as the value was written (blanks around it and one pair of enclosing
// quotes removed, as every read does), every other key reads as before, and a
// second identical write adds nothing. A refused write leaves the file as it was.
#include "fuzz_input.h"
#include "platform/cp1252.h"
#include "platform/profile.h"
#include "support/temp_dir.h"

#include <utility>

namespace {

using namespace tessaro;
using test::Slurp;
using test::Spit;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string Trim(std::string_view s) {
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return std::string(s);
}

std::string Unquote(const std::string& v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

// Names compare without surrounding blanks and regardless of letter case.
std::string NameKey(const std::string& name) {
    return platform::cp1252::ToUpper(Trim(name));
}

// Every (section, key) the file might hold, found by a loose scan: the reader
// itself decides what they read as, before and after the write.
std::vector<std::pair<std::string, std::string>> Candidates(const std::string& content) {
    std::vector<std::pair<std::string, std::string>> pairs;
    std::string section;
    std::size_t start = 0;
    while (start <= content.size() && pairs.size() < 64) {
        std::size_t end = content.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = content.size();
        const std::string line = Trim(std::string_view(content).substr(start, end - start));
        start = end + 1;
        if (line.empty())
            continue;
        const auto close = line.find_last_of(']');
        if (line.front() == '[' && close != std::string::npos && close > 0) {
            section = line.substr(1, close - 1);
            continue;
        }
        pairs.emplace_back(section, line.substr(0, line.find('=')));
    }
    return pairs;
}

constexpr std::size_t kBig = 1 << 20;
const std::string kDefault("\x01<none>\x01");

std::string Read(const std::string& section, const std::string& key, const std::string& file) {
    return platform::ReadProfileString(section, key, kDefault, kBig, file).text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = fuzz::Parts(data, size, 4);
    const std::string& content = parts[0];
    const std::string& section = parts[1];
    const std::string& key = parts[2];
    const std::string& value = parts[3];

    const std::string file = fuzz::ScratchDirectory() + "/Settings.ini";
    Spit(file, content);

    auto others = Candidates(content);
    others.emplace_back("GDT", "PathS");
    std::vector<std::string> before;
    for (const auto& [s, k] : others)
        before.push_back(Read(s, k, file));

    if (!platform::WriteProfileString(section, key, value, file)) {
        fuzz::Check(Slurp(file) == content, "a refused write changed the file");
        return 0;
    }
    const std::string written = Slurp(file);
    fuzz::Check(Read(section, key, file) == Unquote(Trim(value)),
                "the key does not read back as written", Read(section, key, file));
    for (std::size_t i = 0; i < others.size(); ++i) {
        const auto& [s, k] = others[i];
        if (NameKey(s) == NameKey(section) && NameKey(k) == NameKey(key))
            continue;
        fuzz::Check(Read(s, k, file) == before[i], "another key changed", s + " / " + k);
    }
    // Saving the same value again adds no line and changes no reading (the key's
    // own line may lose blanks around its name).
    fuzz::Check(platform::WriteProfileString(section, key, value, file), "second write refused");
    fuzz::Check(Slurp(file).size() <= written.size(), "a repeated write added to the file");
    fuzz::Check(Read(section, key, file) == Unquote(Trim(value)), "a repeated write lost the key");
    for (std::size_t i = 0; i < others.size(); ++i) {
        const auto& [s, k] = others[i];
        if (!(NameKey(s) == NameKey(section) && NameKey(k) == NameKey(key)))
            fuzz::Check(Read(s, k, file) == before[i], "a repeated write changed another key");
    }
    return 0;
}
