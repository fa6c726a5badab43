// Our profile functions against a second implementation of the platform's own
// (Wine's kernel32, through profile_runner.exe). Hand-picked and generated
// Settings.ini files with reads and writes run on both sides; reads must agree
// byte for byte, writes by what every key reads afterwards. A difference counts
// as explained only when one of the rules below reproduces the reference's
// result; every other difference fails the test.
//
//   profile_differential RUNNER.exe WORKDIR [CASES]
#include "platform/cp1252.h"
#include "platform/profile.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace tessaro {
namespace {

struct Op {
    bool write = false;
    std::string section, key;
    std::string text; // the default of a read, the value of a write
    std::size_t size = 256;
};

struct Case {
    bool hasFile = true;
    std::string content;
    std::vector<Op> ops;
};

struct Result {
    bool ok = false;        // writes
    std::size_t copied = 0; // reads
    std::string text;       // reads
    bool operator==(const Result&) const = default;
};

// ---- cases ---------------------------------------------------------------

class Generator {
public:
    explicit Generator(unsigned seed) : rng_(seed) {}

    Case Next() {
        Case c;
        sections_.clear();
        keys_.clear();
        for (std::size_t n = 2 + Below(3); n > 0; --n)
            sections_.push_back(Name(kSections));
        for (std::size_t n = 3 + Below(4); n > 0; --n)
            keys_.push_back(Name(kKeys));
        c.hasFile = !Chance(4);
        if (c.hasFile)
            c.content = File();
        for (std::size_t n = 2 + Below(6); n > 0; --n)
            c.ops.push_back(ReadOp(Pick(sections_), Pick(keys_)));
        for (std::size_t n = Below(4); n > 0; --n) {
            Op w{true, Risky(Pick(sections_), true), Risky(Pick(keys_), false), Value(true)};
            c.ops.push_back(w);
            for (std::size_t m = 6 + Below(6); m > 0; --m)
                c.ops.push_back(ReadOp(Pick(sections_), Pick(keys_)));
            c.ops.push_back(ReadOp(w.section, w.key));
        }
        return c;
    }

private:
    static constexpr const char* kSections[] = {"GDT",      "Modality", "K\xFCrzel",
                                                "Settings", "Ab Cd",    "\xC4nderung"};
    static constexpr const char* kKeys[] = {"PathS",
                                            "PathD",
                                            "LumeoID",
                                            "Suffix",
                                            "Manual",
                                            "StudyDesc",
                                            "Modality",
                                            "K\xFCrzel",
                                            "\xF6l x",
                                            "Gr\xF6\xDF"
                                            "e"};
    // The Windows-1252 letters generated names and values use.
    static constexpr const char kLetters[] = "abcXYZ09_.-\xE4\xF6\xFC\xC4\xD6\xDC\xE9\xC9\xDF";

    std::size_t Below(std::size_t n) { return rng_() % n; }
    bool Chance(std::size_t percent) { return Below(100) < percent; }
    template <class T> const T& Pick(const std::vector<T>& v) { return v[Below(v.size())]; }

    template <std::size_t N> std::string Name(const char* const (&base)[N]) {
        if (!Chance(30))
            return base[Below(N)];
        std::string s;
        for (std::size_t n = 1 + Below(8); n > 0; --n)
            s += Chance(8) ? ' ' : kLetters[Below(sizeof kLetters - 1)];
        return s;
    }

    // The name as a hand-editor or a caller might spell it.
    std::string Spelled(std::string s) {
        if (Chance(40))
            for (char& ch : s) {
                const char up = platform::cp1252::ToUpper(ch);
                ch = Chance(50) ? up : (up != ch ? ch : Lower(ch));
            }
        if (Chance(15))
            s = Blanks() + s + Blanks();
        return s;
    }
    static char Lower(char ch) {
        const auto b = static_cast<unsigned char>(ch);
        if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7))
            return static_cast<char>(b + 0x20);
        return ch;
    }
    std::string Blanks() {
        static const char* kinds[] = {"", " ", "  ", "\t", " \t "};
        return kinds[Below(5)];
    }

    std::string Value(bool forWrite) {
        std::string v;
        switch (Below(forWrite ? 12 : 11)) {
        case 0:
            break;
        case 1:
            v = "/srv/gdt/in dir/req.gdt";
            break;
        case 2:
            v = "\"" + Word() + " " + Word() + "\"";
            break;
        case 3:
            v = "'" + Word() + "'";
            break;
        case 4:
            v = "\"" + Word();
            break;
        case 5:
            v = std::string(150 + Below(300), static_cast<char>('a' + Below(26)));
            break;
        case 6:
            v = "\"" + std::string(240 + Below(40), 'q') + "\"";
            break;
        case 7:
            v = "\x80 \x85 \xA0" + Word() + "\xA0";
            break;
        case 8:
            v = "a=b;c [d]";
            break;
        case 9:
            v = "\"\"";
            break;
        case 10:
            v = forWrite ? "" : Word();
            break;
        default:
            v = Chance(50) ? "a\r\nb" : (Chance(50) ? "a\nb" : "a\rb");
        }
        if (Chance(25))
            v = Blanks() + v + Blanks();
        return v;
    }
    std::string Word() {
        std::string s;
        for (std::size_t n = 1 + Below(10); n > 0; --n)
            s += kLetters[Below(sizeof kLetters - 1)];
        return s;
    }

    // Now and then a name that cannot be stored as it stands.
    std::string Risky(std::string name, bool section) {
        if (!Chance(10))
            return Spelled(name);
        switch (Below(5)) {
        case 0:
            return section ? name + "]x" : name + "=x";
        case 1:
            return (section ? "" : ";") + name;
        case 2:
            return section ? "" : "[" + name;
        case 3:
            return " ";
        default:
            return name + "\r\n" + name;
        }
    }

    Op ReadOp(const std::string& section, const std::string& key) {
        static const char* defaults[] = {"<d>", "", "d  ", "  d d ", "d\t ", "001"};
        Op r{false, Chance(5) ? Name(kSections) : Spelled(section),
             Chance(10) ? Name(kKeys) : Spelled(key), defaults[Below(6)], 256};
        if (Chance(12))
            r.size = Below(14);
        else if (Chance(5))
            r.size = 1000;
        return r;
    }

    std::string File() {
        static const char* ends[] = {"\r\n", "\n", "\r"};
        const std::size_t style = Below(4); // 3: mixed
        std::vector<std::string> lines;
        if (Chance(15))
            lines.push_back(Chance(50) ? "; Tessaro" : Pick(keys_) + "=early");
        for (std::size_t n = 1 + Below(4); n > 0; --n) {
            lines.push_back(Header(Spelled(Pick(sections_))));
            for (std::size_t m = Below(7); m > 0; --m)
                lines.push_back(Body());
        }
        std::string out;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            out += lines[i];
            if (i + 1 < lines.size() || !Chance(30))
                out += ends[style == 3 ? Below(3) : style];
        }
        return out;
    }
    std::string Header(const std::string& name) {
        const std::size_t kind = Below(100);
        if (kind < 6)
            return "[" + name;
        if (kind < 11)
            return "[" + name + "]" + Word() + "]";
        if (kind < 13)
            return "[]";
        std::string h = Blanks() + "[" + Blanks() + name + Blanks() + "]";
        if (Chance(10))
            h += Chance(50) ? " ; note" : Word();
        return h;
    }
    std::string Body() {
        const std::size_t kind = Below(100);
        if (kind < 8)
            return Blanks();
        if (kind < 16)
            return Blanks() + ";" + (Chance(50) ? Pick(keys_) + "=c" : " comment");
        if (kind < 20)
            return Spelled(Pick(keys_));
        return Blanks() + Spelled(Pick(keys_)) + Blanks() + "=" + Value(false);
    }

    std::mt19937 rng_;
    std::vector<std::string> sections_, keys_;
};

std::vector<Case> HandPicked() {
    const auto read = [](const char* s, const char* k, const char* d = "<d>",
                         std::size_t size = 256) {
        return Op{false, s, k, d, size};
    };
    const auto write = [](const char* s, const char* k, const char* v) {
        return Op{true, s, k, v, 0};
    };
    return {
        {true,
         "[K\xFCrzel]\r\nK\xFCrzel=MK\r\n[Modality]\r\nModality=CR\r\n[GDT]\r\nPathS=/in/"
         "req.gdt\r\nPathD=/out\r\nLumeoID=\r\nSuffix=gdt\r\nManual=-1\r\nStudyDesc=0\r\n",
         {read("K\xFCrzel", "K\xFCrzel"), read("gdt", "lumeoid", "001"), read("GDT", "Manual", "0"),
          write("GDT", "PathS", "/new"), read("GDT", "PathS"), read("GDT", "PathD")}},
        {false,
         "",
         {read("GDT", "Suffix", "gdt  "), write("K\xFCrzel", "K\xFCrzel", "MK"),
          read("K\xFCrzel", "K\xFCrzel"), write("K\xFCrzel", "K\xFCrzel", "AB"),
          read("K\xFCrzel", "K\xFCrzel")}},
        {true,
         "[A]\rk=1\rj=2\r[B]\rm=3",
         {read("A", "j"), read("B", "m"), write("B", "n", "4"), read("B", "m"), read("B", "n")}},
        {true,
         "[sec]xyz]\r\nk=1\r\n[SectionName\r\nk=2\r\n;c=3\r\n  ;d=4\r\n",
         {read("sec", "k"), read("SectionName", "k"), read("SectionName", ";c"),
          read("sec]xyz", "k"), write("SectionName", ";c", "5"), read("SectionName", ";c")}},
        {true,
         "[GDT]\r\nPathS=x\r\n\r\n; tail\r\n\r\n[Next]\r\nn=1",
         {write(" GDT ", " PathD ", "/out"), read("GDT", "PathD"), read("Next", "n"),
          write("Next", "n", "2"), read("Next", "n"), write("Next", "m", "3"), read("Next", "n")}},
        {true,
         "[A]\r\nq=\"quoted value\"\r\nr='single'\r\ns=\"half\r\nt= \" inner \" \r\n",
         {read("A", "q"), read("A", "r"), read("A", "s"), read("A", "t"), read("A", "q", "", 4)}},
        {true,
         "[\xDC]\r\n\xFC=1\r\n",
         {read("\xFC", "\xDC"), read("\xDC", "\xFC"), write("\xFC", "\xDC", "2"),
          read("\xDC", "\xFC")}},
        {true,
         "[A]\r\nk=1\r\n",
         {write("A", "k", "a\r\n[Evil]\r\nx=y"), read("Evil", "x"), write("A", "a=b", "c"),
          read("A", "a"), write("A", "[Evil]", "y"), read("A", "k")}},
    };
}

// ---- the case file and the results ---------------------------------------

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out = "x";
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

std::string Unhex(const std::string& hex) {
    std::string out;
    for (std::size_t i = 1; i + 1 < hex.size(); i += 2)
        out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

std::string FormatCases(const std::vector<Case>& cases) {
    std::string out;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        out += "case " + std::to_string(i) + "\n";
        if (cases[i].hasFile)
            out += "file " + Hex(cases[i].content) + "\n";
        for (const Op& op : cases[i].ops)
            out += (op.write ? "write " + Hex(op.section) + " " + Hex(op.key) + " " + Hex(op.text)
                             : "read " + Hex(op.section) + " " + Hex(op.key) + " " + Hex(op.text) +
                                   " " + std::to_string(op.size)) +
                   "\n";
        out += "end\n";
    }
    return out;
}

std::vector<std::vector<Result>> ParseResults(std::istream& in, unsigned& codePage) {
    std::vector<std::vector<Result>> all;
    std::string word;
    while (in >> word) {
        if (word == "acp") {
            in >> codePage;
        } else if (word == "case") {
            in >> word;
            all.emplace_back();
        } else if (word == "r" && !all.empty()) {
            Result r;
            in >> r.copied >> word;
            r.text = Unhex(word);
            all.back().push_back(r);
        } else if (word == "w" && !all.empty()) {
            int ok = 0;
            in >> ok;
            all.back().push_back(Result{ok == 1, 0, {}});
        }
    }
    return all;
}

std::vector<Result> RunOurs(const Case& c, const std::string& file) {
    std::filesystem::remove(file);
    if (c.hasFile)
        std::ofstream(file, std::ios::binary) << c.content;
    std::vector<Result> results;
    for (const Op& op : c.ops) {
        if (op.write) {
            results.push_back(
                Result{platform::WriteProfileString(op.section, op.key, op.text, file), 0, {}});
        } else {
            const platform::ProfileString r =
                platform::ReadProfileString(op.section, op.key, op.text, op.size, file);
            results.push_back(Result{false, r.copied, r.text});
        }
    }
    std::filesystem::remove(file);
    return results;
}

// ---- known differences ---------------------------------------------------
//
// Rules that model how the reference reads a file where it departs from the
// platform we follow: applied to a case (file, names, values) they make our
// functions give the reference's results, so a difference they remove is
// explained. Each rewrites bytes into control bytes the generator never uses.

enum Rule {
    kCommentIsKey = 1,
    kHeaderToLastBracket = 2,
    kAsciiCaseOnly = 4,
    kEmptyHeaderLost = 8, // only after a write the reference made
};

constexpr char kSemicolon = '\x02', kBracket = '\x03';
// The generated letters with a case partner, each to a byte nothing folds.
constexpr std::string_view kCased = "\xE4\xF6\xFC\xC4\xD6\xDC\xE9\xC9";

bool Blank(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\v' || ch == '\f';
}

std::string MapCase(std::string s) {
    for (char& ch : s)
        if (const auto at = kCased.find(ch); at != std::string_view::npos)
            ch = static_cast<char>(0x10 + at);
    return s;
}

// The reference takes a line beginning with ";" for a key, and a header's name
// up to its last "]"; a "[" line without "]" is nothing to it.
std::string MapLines(const std::string& content, int rules) {
    std::string out;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = content.size();
        std::string line = content.substr(start, end - start);
        std::size_t first = 0;
        while (first < line.size() && Blank(line[first]))
            ++first;
        if (first < line.size()) {
            if ((rules & kCommentIsKey) && line[first] == ';')
                line[first] = kSemicolon;
            // The reference's rewrite drops a "[]" header, so on its next reading
            // the keys below it belong to the section before.
            if ((rules & kEmptyHeaderLost) && line[first] == '[') {
                const auto close = line.find(']', first);
                if (close != std::string::npos &&
                    line.find_first_not_of(" \t\v\f", first + 1) == close)
                    line.clear();
            }
            if ((rules & kHeaderToLastBracket) && line[first] == '[') {
                const auto last = line.rfind(']');
                if (last == std::string::npos || last < first)
                    line.clear();
                for (std::size_t i = first; i < last && last != std::string::npos; ++i)
                    if (line[i] == ']')
                        line[i] = kBracket;
            }
        }
        out += line;
        const std::size_t next = end < content.size() && content[end] == '\r' &&
                                         end + 1 < content.size() && content[end + 1] == '\n'
                                     ? end + 2
                                     : end + 1;
        out += content.substr(end, next - end);
        start = next;
    }
    return out;
}

std::string MapName(std::string name, int rules, bool section) {
    std::size_t first = 0;
    while (first < name.size() && Blank(name[first]))
        ++first;
    if ((rules & kCommentIsKey) && first < name.size() && name[first] == ';')
        name[first] = kSemicolon;
    if ((rules & kHeaderToLastBracket) && section)
        for (char& ch : name)
            if (ch == ']')
                ch = kBracket;
    return rules & kAsciiCaseOnly ? MapCase(name) : name;
}

Case Apply(const Case& c, int rules) {
    Case t = c;
    t.content = MapLines(c.content, rules);
    if (rules & kAsciiCaseOnly)
        t.content = MapCase(t.content);
    for (Op& op : t.ops) {
        op.section = MapName(op.section, rules, true);
        op.key = MapName(op.key, rules, false);
        if (rules & kAsciiCaseOnly)
            op.text = MapCase(op.text);
    }
    return t;
}

bool HasBreak(const std::string& s) {
    return s.find_first_of("\r\n") != std::string::npos;
}

std::string Folded(const std::string& s) {
    std::size_t a = 0, b = s.size();
    while (a < b && Blank(s[a]))
        ++a;
    while (b > a && Blank(s[b - 1]))
        --b;
    return platform::cp1252::ToUpper(s.substr(a, b - a));
}

// Writes ours refuses because the file could not give them back: a line break
// anywhere, "=" in the key, a key that would read as a header, an empty name.
// The reference stores them in memory; what it reads from them afterwards is
// not comparable.
bool RefusedByUs(const Op& op) {
    return HasBreak(op.section) || HasBreak(op.key) || HasBreak(op.text) ||
           op.key.find('=') != std::string::npos || Folded(op.key).starts_with('[') ||
           Folded(op.key).empty() || Folded(op.section).empty();
}

class Classifier {
public:
    Classifier(const Case& c, const std::string& file) : case_(c), file_(file) {}

    // Per operation: "" when both agree, else the rule that explains it, or
    // "UNEXPLAINED".
    std::vector<std::string> Classify(const std::vector<Result>& ref,
                                      const std::vector<Result>& ours) {
        reference_ = ref;
        std::vector<std::string> why(ours.size());
        std::vector<std::string> refusedSections;
        for (std::size_t i = 0; i < ours.size() && i < ref.size(); ++i) {
            const Op& op = case_.ops[i];
            // A line break lets the reference's write open sections of its own,
            // so after it any read may differ; otherwise the section's reads.
            if (op.write && !ours[i].ok && ref[i].ok && RefusedByUs(op))
                refusedSections.push_back(HasBreak(op.section + op.key + op.text)
                                              ? std::string("\n")
                                              : Folded(op.section));
            if (ref[i] == ours[i])
                continue;
            why[i] = Explain(i, ref[i], ours[i], refusedSections);
        }
        return why;
    }

private:
    std::string Explain(std::size_t i, const Result& ref, const Result& ours,
                        const std::vector<std::string>& refusedSections) {
        const Op& op = case_.ops[i];
        if (op.write && !ours.ok && RefusedByUs(op))
            return "write refused: name or value not storable";
        if (!op.write) {
            for (const std::string& s : refusedSections)
                if (s == "\n" || Folded(op.section) == s)
                    return "read after a write only the reference took";
            // Keys ahead of any header are a nameless section to the reference.
            if (Folded(op.section).empty())
                return "empty section name";
        }
        bool afterWrite = false;
        for (std::size_t k = 0; k < i; ++k)
            afterWrite = afterWrite || (case_.ops[k].write && reference_[k].ok);
        constexpr int all = kCommentIsKey | kHeaderToLastBracket | kAsciiCaseOnly;
        static const std::pair<int, const char*> rules[] = {
            {kCommentIsKey, "\";\" line read as a key by the reference"},
            {kHeaderToLastBracket, "header read to its last \"]\" by the reference"},
            {kAsciiCaseOnly, "reference folds ASCII letters only"},
            {kEmptyHeaderLost, "\"[]\" header lost in the reference's rewrite"},
            {all, "several of these rules"},
            {all | kEmptyHeaderLost, "several of these rules"}};
        for (const auto& [rule, name] : rules) {
            if ((rule & kEmptyHeaderLost) && !afterWrite)
                continue;
            Result mapped = ref;
            if (rule & kAsciiCaseOnly)
                mapped.text = MapCase(mapped.text);
            const Result& model = Modelled(rule)[i];
            if (model == mapped)
                return name;
            // The reference cuts a quoted value before it drops the quotes, so a
            // value the buffer cuts comes back a byte or more shorter.
            if (!op.write && op.size > 0 && model.copied == op.size - 1 &&
                mapped.text.size() < model.text.size() && model.text.starts_with(mapped.text) &&
                ref.copied == ref.text.size())
                return "quoted value cut by the buffer";
        }
        if (!op.write && op.size > 0 && ours.copied == op.size - 1 &&
            ref.text.size() < ours.text.size() && ours.text.starts_with(ref.text) &&
            ref.copied == ref.text.size())
            return "quoted value cut by the buffer";
        return "UNEXPLAINED";
    }

    const std::vector<Result>& Modelled(int rules) {
        auto& r = modelled_[rules];
        if (r.empty())
            r = RunOurs(Apply(case_, rules), file_);
        return r;
    }

    const Case& case_;
    std::string file_;
    std::map<int, std::vector<Result>> modelled_;
    std::vector<Result> reference_;
};

std::string Show(const std::string& bytes) {
    std::string out;
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        char buf[8];
        if (b < 0x20 || b >= 0x7F || ch == '\\') {
            std::snprintf(buf, sizeof buf, "\\x%02X", b);
            out += buf;
        } else {
            out += ch;
        }
    }
    return out;
}

} // namespace
} // namespace tessaro

int main(int argc, char** argv) {
    using namespace tessaro;
    if (argc < 3) {
        std::cerr << "usage: profile_differential RUNNER.exe WORKDIR [RANDOM_CASES]\n";
        return 2;
    }
    const std::string runner = std::filesystem::absolute(argv[1]).string();
    const std::filesystem::path dir = std::filesystem::absolute(argv[2]);
    const std::size_t random = argc > 3 ? std::stoul(argv[3]) : 5200;
    std::filesystem::create_directories(dir);

    std::vector<Case> cases = HandPicked();
    Generator generate(13);
    for (std::size_t i = 0; i < random; ++i)
        cases.push_back(generate.Next());
    std::ofstream(dir / "cases.txt", std::ios::binary) << FormatCases(cases);

    // One wine process for every case: its start-up dominates the run.
    const std::string command = "cd '" + dir.string() + "' && wine '" + runner +
                                "' cases.txt results.txt </dev/null >runner.log 2>&1";
    const auto started = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    const auto took = std::chrono::steady_clock::now() - started;
    std::system("wineserver -k >/dev/null 2>&1");
    std::ifstream in(dir / "results.txt", std::ios::binary);
    unsigned codePage = 0;
    const auto reference = ParseResults(in, codePage);
    if (status != 0 || reference.size() != cases.size()) {
        std::cerr << "the reference run failed (status " << status << ", " << reference.size()
                  << " of " << cases.size() << " cases); see " << (dir / "runner.log") << "\n";
        return 1;
    }
    if (codePage != 1252) {
        std::cerr << "the reference runs with code page " << codePage << ", not 1252\n";
        return 1;
    }

    std::map<std::string, std::size_t> classes;
    std::size_t ops = 0, unexplained = 0;
    const std::string file = (dir / "ours.ini").string();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const std::vector<Result> ours = RunOurs(cases[i], file);
        if (reference[i].size() != ours.size()) {
            std::cerr << "case " << i << ": the reference gave " << reference[i].size()
                      << " results for " << ours.size() << " operations\n";
            return 1;
        }
        ops += ours.size();
        const auto why = Classifier(cases[i], file).Classify(reference[i], ours);
        for (std::size_t j = 0; j < why.size(); ++j) {
            ++classes[why[j].empty() ? "same" : why[j]];
            if (why[j] != "UNEXPLAINED" || ++unexplained > 20)
                continue;
            const Op& op = cases[i].ops[j];
            std::cout << "case " << i << " op " << j << (op.write ? " write [" : " read [")
                      << Show(op.section) << "] " << Show(op.key) << " '" << Show(op.text)
                      << "' size " << op.size << "\n  file: " << Show(cases[i].content)
                      << "\n  reference: " << reference[i][j].ok << " " << reference[i][j].copied
                      << " '" << Show(reference[i][j].text) << "'\n  ours:      " << ours[j].ok
                      << " " << ours[j].copied << " '" << Show(ours[j].text) << "'\n";
            for (std::size_t k = 0; k < j; ++k)
                if (cases[i].ops[k].write)
                    std::cout << "  after write [" << Show(cases[i].ops[k].section) << "] "
                              << Show(cases[i].ops[k].key) << " '" << Show(cases[i].ops[k].text)
                              << "': reference " << reference[i][k].ok << ", ours " << ours[k].ok
                              << "\n";
        }
    }
    std::cout << cases.size() << " cases, " << ops << " operations; the reference took "
              << std::chrono::duration_cast<std::chrono::seconds>(took).count() << " s\n";
    for (const auto& [name, count] : classes)
        std::cout << "  " << count << "  " << name << "\n";
    return unexplained == 0 ? 0 : 1;
}
