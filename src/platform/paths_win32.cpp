// Paths and names on Windows: Windows-1252 to UTF-16 and back (code page
// 1252 whatever the machine has), long paths, the program folder, what a
// name is, whose link it is, the computer name and a run identifier.
#include "platform/files_win32_common.h"

namespace tessaro::platform {

using namespace detail;

namespace {

constexpr std::wstring_view kLongPrefix = L"\\\\?\\";

constexpr std::wstring_view kLongUncPrefix = L"\\\\?\\UNC\\";

constexpr std::wstring_view kDevicePrefix = L"\\\\.\\";

// The lowest of the classic limits (CreateDirectoryW leaves room for an 8.3
// name below MAX_PATH); a path from here on takes the long form.
constexpr std::size_t kShortEnough = MAX_PATH - 12;

std::wstring FullPath(const std::wstring& path) {
    const DWORD n = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0)
        return {};
    std::wstring full(n, L'\0');
    const DWORD got = ::GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
    if (got == 0 || got >= n)
        return {};
    full.resize(got);
    return full;
}

// A "\\?\" path is taken as it stands, so it is made absolute and normalised
// first ("/" to "\", "." and ".." resolved, trailing dots and spaces dropped)
// exactly as Windows would do with the short form. Short paths stay untouched,
// so they behave as they always have.
std::wstring LongForm(const std::wstring& path) {
    if (path.size() < kShortEnough || path.starts_with(kLongPrefix) ||
        path.starts_with(kDevicePrefix))
        return path;
    const std::wstring full = FullPath(path);
    if (full.starts_with(kLongPrefix) || full.starts_with(kDevicePrefix))
        return full;
    if (full.starts_with(L"\\\\"))
        return std::wstring(kLongUncPrefix) + full.substr(2);
    if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\')
        return std::wstring(kLongPrefix) + full;
    return path;
}

// The path as the caller wrote it, without the prefix LongForm added.
std::wstring WithoutLongPrefix(const std::wstring& path) {
    if (path.starts_with(kLongUncPrefix))
        return L"\\\\" + path.substr(kLongUncPrefix.size());
    if (path.starts_with(kLongPrefix))
        return path.substr(kLongPrefix.size());
    return path;
}

std::wstring ShortPath(const std::wstring& path) {
    const std::wstring longForm = LongForm(path);
    const DWORD n = ::GetShortPathNameW(longForm.c_str(), nullptr, 0);
    if (n == 0)
        return {};
    std::wstring out(n, L'\0');
    const DWORD got = ::GetShortPathNameW(longForm.c_str(), out.data(), n);
    if (got == 0 || got >= n)
        return {};
    out.resize(got);
    return longForm == path ? out : WithoutLongPrefix(out);
}

} // namespace

std::wstring WideText(const std::string& ansi) {
    if (ansi.empty())
        return {};
    const int n =
        ::MultiByteToWideChar(1252, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    if (n <= 0)
        Fail(platform::ErrorNumber::BadFileName, ansi);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(1252, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
    return wide;
}

// A character code page 1252 cannot hold becomes "?", never a look-alike
// ("best fit") that would name another file.
std::string AnsiText(const std::wstring& wide) {
    if (wide.empty())
        return {};
    const int n = ::WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, wide.data(),
                                        static_cast<int>(wide.size()), nullptr, 0, "?", nullptr);
    std::string ansi(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        ::WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, wide.data(),
                              static_cast<int>(wide.size()), ansi.data(), n, "?", nullptr);
    return ansi;
}

// Every path the file functions below are given goes through here.
std::wstring WidePath(const std::string& ansiPath) {
    return LongForm(WideText(ansiPath));
}

std::string AnsiOrShortPath(const std::wstring& widePath) {
    std::string ansi = AnsiText(widePath);
    if (WideText(ansi) == widePath)
        return ansi;
    const std::wstring shortPath = ShortPath(widePath);
    std::string alternative = AnsiText(shortPath);
    return !shortPath.empty() && WideText(alternative) == shortPath ? alternative : std::string();
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    if (slash == std::string::npos)
        return {};
    // "C:\x" keeps its backslash: "C:" alone is the drive's current folder.
    if (slash == 0 || (slash == 2 && path[1] == ':'))
        return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ProgramDirectory() {
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0)
            FailLast("GetModuleFileNameW");
        if (n < buf.size()) {
            buf.resize(n);
            break;
        }
        buf.resize(buf.size() * 2);
    }
    const auto slash = buf.find_last_of(L"\\/");
    // "C:\tessaro.exe" gives "C:", to which "\" and a name are appended.
    const std::wstring dir =
        slash == std::wstring::npos ? std::wstring(L".") : buf.substr(0, slash);
    return NarrowOrShort(dir, ShortPath(dir));
}

bool FileExists(const std::string& path) {
    return !path.empty() && IsFile(WidePath(path));
}

bool DirectoryExists(const std::string& path) {
    if (path.empty())
        return false;
    const std::wstring wide = WidePath(path);
    const DWORD a = Attributes(wide);
    return a != kNoAttributes && TargetIsDirectory(wide, a);
}

bool IsForeignLink(const std::string& path) {
    const std::wstring wide = WidePath(path);
    const DWORD a = Attributes(wide);
    if (a == kNoAttributes || (a & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        return false;
    Handle h(::CreateFileW(wide.c_str(), READ_CONTROL, kShareAll, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!h.valid())
        return true; // a link whose owner cannot even be read is not trusted
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (::GetSecurityInfo(h.get(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                          nullptr, nullptr, &sd) != ERROR_SUCCESS)
        return true;
    const bool trusted = IsTrustedOwner(owner);
    ::LocalFree(sd);
    return !trusted;
}

std::string HostName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    if (!::GetComputerNameW(name, &size))
        return {};
    return AnsiText(std::wstring(name, size));
}

std::optional<FileFacts> LookAt(const std::string& path) {
    Handle h = OpenForLooking(WidePath(path), READ_CONTROL | FILE_READ_ATTRIBUTES);
    if (!h.valid()) {
        if (NotThere(::GetLastError()))
            return std::nullopt;
        FailLast(path);
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(h.get(), &info))
        FailLast(path);
    FileFacts facts;
    facts.volume = info.dwVolumeSerialNumber;
    facts.index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    facts.links = info.nNumberOfLinks;
    facts.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    facts.link = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    facts.regular = !facts.link && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
                    ::GetFileType(h.get()) == FILE_TYPE_DISK;
    facts.ours = OwnedByUs(h);
    return facts;
}

std::string NewRunId() {
    unsigned char bytes[16];
    if (!RtlGenRandom(bytes, sizeof bytes))
        Fail(platform::ErrorNumber::DeviceIo, "RtlGenRandom");
    return HexOf(bytes, sizeof bytes);
}

} // namespace tessaro::platform
