#include "platform/charset_codec.h"

#include "platform/codec.h"
#include "platform/utf8.h"

#include <cerrno>
#include <iconv.h>

namespace tessaro::platform::charset {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

class IconvHandle {
public:
    explicit IconvHandle(const char* from) : cd_(iconv_open("UTF-8", from)) {}
    ~IconvHandle() {
        if (ok())
            iconv_close(cd_);
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

} // namespace

std::string ToUtf8(std::string_view bytes, const char* iconvCharset) {
    IconvHandle cd(iconvCharset);
    if (!cd.ok())
        return platform::cp1252::ToUtf8(bytes);

    // Three output bytes per input byte cover every single-byte charset; the
    // buffer still grows on demand so that no input can overrun it.
    std::string out(bytes.size() * 3 + 16, '\0');
    std::size_t used = 0;
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    const auto grow = [&](std::size_t need) {
        if (out.size() - used < need)
            out.resize(out.size() * 2 + need);
    };
    while (inLeft > 0) {
        char* outPtr = out.data() + used;
        std::size_t outLeft = out.size() - used;
        const std::size_t rc = iconv(cd.get(), &in, &inLeft, &outPtr, &outLeft);
        used = out.size() - outLeft;
        if (rc != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2 + 16);
            continue;
        }
        // Any other failure (an undefined byte, a truncated sequence): mark the
        // byte and step over it, so that every round makes progress.
        grow(kReplacementUtf8.size());
        out.replace(used, kReplacementUtf8.size(), kReplacementUtf8);
        used += kReplacementUtf8.size();
        ++in;
        --inLeft;
        iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(used);
    return out;
}

bool IsMultiByteUtf8(std::string_view bytes) {
    bool multiByte = false;
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t cp = 0;
        const std::size_t len = platform::utf8::SequenceAt(bytes, i, cp);
        if (len == 0)
            return false;
        multiByte = multiByte || len > 1;
        i += len;
    }
    return multiByte;
}

std::u32string DecodeUtf8(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        const std::size_t len = platform::utf8::SequenceAt(utf8, i, cp);
        out += len == 0 ? kReplacement : cp;
        i += len == 0 ? 1 : len;
    }
    return out;
}

std::string EncodeUtf8(std::u32string_view codePoints) {
    std::string out;
    out.reserve(codePoints.size());
    for (char32_t cp : codePoints)
        platform::utf8::Append(out, cp);
    return out;
}

} // namespace tessaro::platform::charset
