// The counter file from arbitrary bytes: the parse agrees with the written-out
// rule (blanks, sign, decimal digits, 16-bit range), and a run either draws the
// stored number plus one and leaves it in the file, or reports, draws 1 and
// leaves the file untouched.
#include "fuzz_input.h"
#include "gdt/sequence_counter.h"
#include "platform/errors.h"
#include "platform/message_box.h"

#include <fstream>
#include <optional>
#include <sstream>

namespace {

using namespace tessaro;

// nullopt: no number; otherwise the value, possibly outside 16 bits.
std::optional<long> Rule(const std::string& text, bool& tooBig) {
    tooBig = false;
    const auto b = text.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return std::nullopt;
    std::string t = text.substr(b, text.find_last_not_of(" \t\r\n") - b + 1);
    bool negative = false;
    if (t[0] == '+' || t[0] == '-') {
        negative = t[0] == '-';
        t.erase(0, 1);
    }
    if (t.empty() || t.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    t.erase(0, std::min(t.find_first_not_of('0'), t.size() - 1));
    if (t.size() > 6) {
        tooBig = true;
        return 0;
    }
    const long v = std::stol(t);
    return negative ? -v : v;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    bool tooBig = false;
    const std::optional<long> rule = Rule(text, tooBig);
    const bool inRange = rule && !tooBig && *rule >= -32768 && *rule <= 32767;
    try {
        const std::int16_t v = gdt::ParseCounter(text);
        fuzz::Check(inRange && v == *rule, "parse accepted what the rule refuses", text);
    } catch (const platform::PlatformError& e) {
        fuzz::Check(!inRange, "parse refused a number", text);
        fuzz::Check(e.Number() == (rule ? 6 : 13), "wrong error number", text);
    }

    const std::string dir = fuzz::ScratchDirectory();
    const std::string path = dir + "/GDTcount.txt";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    const gdt::DrawnNumber result = gdt::NextSequenceNumber(dir);
    const std::int16_t drawn = result.number;
    const bool reported = result.problem != gdt::DrawnNumber::Problem::None;
    std::ifstream in(path, std::ios::binary);
    std::ostringstream stored;
    stored << in.rdbuf();
    if (inRange && *rule != 32767) {
        fuzz::Check(drawn == *rule + 1 && !reported, "wrong number drawn", text);
        fuzz::Check(stored.str() == std::to_string(drawn), "counter file not rewritten");
    } else {
        fuzz::Check(drawn == 1 && reported, "failure not reported with number 1");
        fuzz::Check(stored.str() == text, "counter file changed after a failure");
    }
    return 0;
}
