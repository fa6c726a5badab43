// The file services on the Win32 API. Paths are converted from Windows-1252
// to UTF-16 with code page 1252 itself, whatever the machine's ANSI code page
// is, and only the wide functions are called.
#include "platform/cp1252.h"
#include "platform/errors.h"
#include "platform/file_facts.h"
#include "platform/files.h"
#include "platform/run_id.h"
#include "platform/wide_path_win32.h"
#include "platform/windows_api_win32.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

// After windows.h, which it needs.
#include <aclapi.h>
#include <ntsecapi.h>

namespace tessaro::platform {
namespace {

platform::ErrorNumber NumberFromWin32(DWORD err) {
    switch (err) {
    case ERROR_FILE_NOT_FOUND:
        return platform::ErrorNumber::FileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_DIRECTORY:
        return platform::ErrorNumber::PathNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
    case ERROR_PRIVILEGE_NOT_HELD:
        return platform::ErrorNumber::PermissionDenied;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
    case ERROR_DIR_NOT_EMPTY:
        return platform::ErrorNumber::FileExists;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_FILE_TOO_LARGE:
        return platform::ErrorNumber::DiskFull;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_PARAMETER:
        return platform::ErrorNumber::BadFileName;
    case ERROR_TOO_MANY_OPEN_FILES:
        return platform::ErrorNumber::TooManyFiles;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return platform::ErrorNumber::OutOfMemory;
    case ERROR_NOT_SAME_DEVICE:
    case ERROR_BUSY:
        return platform::ErrorNumber::PathFileAccess;
    default:
        return platform::ErrorNumber::DeviceIo;
    }
}

[[noreturn]] void Fail(platform::ErrorNumber number, const std::string& ansiPath) {
    throw platform::PlatformError(number, ansiPath);
}

bool HeldByAnother(DWORD err) {
    return err == ERROR_SHARING_VIOLATION || err == ERROR_LOCK_VIOLATION;
}

[[noreturn]] void FailLast(const std::string& ansiPath) {
    const DWORD err = ::GetLastError();
    if (HeldByAnother(err))
        throw platform::FileInUse(ansiPath);
    Fail(NumberFromWin32(err), ansiPath);
}

// Another program holding the file (a virus scanner looking at a new file,
// the practice system still writing it) lets go within a second or two:
// tried again for about two seconds before it counts.
template <typename Attempt> bool WhileHeldByAnother(Attempt attempt) {
    DWORD pause = 50;
    for (DWORD waited = 0;; waited += pause, pause = pause * 2 > 500 ? 500 : pause * 2) {
        if (attempt())
            return true;
        if (!HeldByAnother(::GetLastError()) || waited >= 2000)
            return false;
        ::Sleep(pause);
    }
}

std::wstring FromCp1252(const std::string& ansi) {
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
std::string Narrow(const std::wstring& wide) {
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

// The name as Windows-1252 bytes; where code page 1252 cannot hold it, its
// short 8.3 name (plain ASCII) when the volume has one, so the path still
// leads to the file.
std::string NarrowOrShort(const std::wstring& wide, const std::wstring& shortName) {
    std::string ansi = Narrow(wide);
    if (FromCp1252(ansi) == wide || shortName.empty())
        return ansi;
    const std::string alternative = Narrow(shortName);
    return FromCp1252(alternative) == shortName ? alternative : ansi;
}

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

// Every path the file functions below are given goes through here.
std::wstring Wide(const std::string& ansiPath) {
    return LongForm(FromCp1252(ansiPath));
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

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD kNoAttributes = INVALID_FILE_ATTRIBUTES;

DWORD Attributes(const std::wstring& path) {
    return path.empty() ? kNoAttributes : ::GetFileAttributesW(path.c_str());
}

// A link or junction is judged by what it leads to, as on Linux.
bool TargetIsDirectory(const std::wstring& path, DWORD attributes) {
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    Handle h(::CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!h.valid() || !::GetFileInformationByHandle(h.get(), &info))
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsFile(const std::wstring& path) {
    const DWORD a = Attributes(path);
    return a != kNoAttributes && !TargetIsDirectory(path, a);
}

// Devices (NUL, COM1, a pipe) open like files but are none; reading one could
// block start-up for ever.
void RequireDisk(const Handle& h, const std::string& path) {
    if (::GetFileType(h.get()) != FILE_TYPE_DISK)
        Fail(platform::ErrorNumber::PathFileAccess, path);
}

// The parts one after the other, then on the disk; the handle stays open.
void WriteAndFlush(HANDLE h, const std::string& path,
                   std::initializer_list<std::string_view> parts) {
    for (const std::string_view bytes : parts) {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const DWORD chunk =
                static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
            DWORD written = 0;
            if (!::WriteFile(h, bytes.data() + done, chunk, &written, nullptr))
                FailLast(path);
            if (written == 0)
                Fail(platform::ErrorNumber::DiskFull, path);
            done += written;
        }
    }
    if (!::FlushFileBuffers(h))
        FailLast(path);
}

void WriteAll(Handle& h, const std::string& path, std::initializer_list<std::string_view> parts) {
    WriteAndFlush(h.get(), path, parts);
    if (!h.close())
        FailLast(path);
}

// Opens the file for writing, through a link to its target, or creates it.
Handle OpenForWrite(const std::wstring& wide, const std::string& path, DWORD disposition) {
    Handle h(::CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.valid())
        FailLast(path);
    RequireDisk(h, path);
    return h;
}

void RefuseReadOnly(const std::wstring& wide, const std::string& path) {
    const DWORD a = Attributes(wide);
    if (a != kNoAttributes && (a & FILE_ATTRIBUTE_DIRECTORY) != 0)
        Fail(platform::ErrorNumber::PathFileAccess, path);
    if (a != kNoAttributes && (a & FILE_ATTRIBUTE_READONLY) != 0)
        Fail(platform::ErrorNumber::PermissionDenied, path);
}

// Writes in place: OPEN_ALWAYS and a cut rather than CREATE_ALWAYS, which
// refuses a hidden or system file and drops its attributes.
void WriteInPlace(const std::wstring& wide, const std::string& path, const std::string& bytes) {
    Handle h = OpenForWrite(wide, path, OPEN_ALWAYS);
    if (!::SetEndOfFile(h.get()))
        FailLast(path);
    WriteAll(h, path, {bytes});
}

} // namespace

std::wstring WideText(const std::string& ansi) {
    return FromCp1252(ansi);
}

std::string AnsiText(const std::wstring& wide) {
    return Narrow(wide);
}

std::wstring WidePath(const std::string& ansiPath) {
    return Wide(ansiPath);
}

std::string AnsiOrShortPath(const std::wstring& widePath) {
    std::string ansi = Narrow(widePath);
    if (FromCp1252(ansi) == widePath)
        return ansi;
    const std::wstring shortPath = ShortPath(widePath);
    std::string alternative = Narrow(shortPath);
    return !shortPath.empty() && FromCp1252(alternative) == shortPath ? alternative : std::string();
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
    return !path.empty() && IsFile(Wide(path));
}

bool DirectoryExists(const std::string& path) {
    if (path.empty())
        return false;
    const std::wstring wide = Wide(path);
    const DWORD a = Attributes(wide);
    return a != kNoAttributes && TargetIsDirectory(wide, a);
}

namespace {

// A disk file opened for reading; a folder or a device fails at once.
Handle OpenForReading(const std::string& path) {
    const std::wstring wide = Wide(path);
    const DWORD a = Attributes(wide);
    if (a != kNoAttributes && TargetIsDirectory(wide, a))
        Fail(platform::ErrorNumber::PathFileAccess, path);
    HANDLE opened = INVALID_HANDLE_VALUE;
    if (!WhileHeldByAnother([&] {
            opened = ::CreateFileW(wide.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
            return opened != INVALID_HANDLE_VALUE;
        }))
        FailLast(path);
    Handle h(opened);
    RequireDisk(h, path);
    return h;
}

// Up to size bytes; fewer only at the end of the file.
std::size_t ReadSome(Handle& h, const std::string& path, char* into, std::size_t size) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    DWORD got = 0;
    if (!::ReadFile(h.get(), into, chunk, &got, nullptr))
        FailLast(path);
    return got;
}

} // namespace

namespace {

// The rest of an open disk file, up to maxBytes.
std::string ReadOpened(Handle& h, const std::string& path, std::size_t maxBytes) {
    // Sized from the file, one byte over so that the read which finds the end
    // needs no growth; a file that grows meanwhile still comes in whole.
    LARGE_INTEGER size{};
    std::size_t expected = 0;
    if (::GetFileSizeEx(h.get(), &size) && size.QuadPart > 0)
        expected = static_cast<std::size_t>(size.QuadPart);
    if (expected > maxBytes)
        throw FileTooLarge(path, expected);
    std::string bytes(expected + 1, '\0');
    std::size_t done = 0;
    for (;;) {
        if (done > maxBytes)
            throw FileTooLarge(path, done);
        if (done == bytes.size())
            bytes.resize(bytes.size() * 2 + 65536);
        const std::size_t got = ReadSome(h, path, bytes.data() + done, bytes.size() - done);
        if (got == 0)
            break;
        done += got;
    }
    if (done > maxBytes)
        throw FileTooLarge(path, done);
    bytes.resize(done);
    if (!h.close())
        FailLast(path);
    return bytes;
}

} // namespace

std::string ReadWholeFile(const std::string& path, std::size_t maxBytes) {
    Handle h = OpenForReading(path);
    return ReadOpened(h, path, maxBytes);
}

bool FileHoldsExactly(const std::string& path, std::string_view bytes) {
    Handle h = OpenForReading(path);
    constexpr std::size_t kPiece = 64 * 1024;
    std::string piece(kPiece, '\0');
    std::size_t done = 0;
    for (;;) {
        const std::size_t got = ReadSome(h, path, piece.data(), kPiece);
        if (got == 0)
            break;
        if (got > bytes.size() - done ||
            std::string_view(piece.data(), got) != bytes.substr(done, got))
            return false;
        done += got;
    }
    return done == bytes.size();
}

void WriteWholeFile(const std::string& path, std::initializer_list<std::string_view> parts) {
    const std::wstring wide = Wide(path);
    RefuseReadOnly(wide, path);
    // A leftover is removed, a link as a link, never written through: the new
    // file is ours alone, made where the name was.
    if (const DWORD a = Attributes(wide); a != kNoAttributes) {
        const bool removed = (a & FILE_ATTRIBUTE_DIRECTORY) != 0 ? ::RemoveDirectoryW(wide.c_str())
                                                                 : ::DeleteFileW(wide.c_str());
        if (!removed)
            FailLast(path);
    }
    Handle h(::CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!h.valid())
        FailLast(path);
    RequireDisk(h, path);
    WriteAll(h, path, parts);
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    WriteWholeFile(path, {std::string_view(bytes)});
}

namespace {

constexpr const char* kTemporaryMark = ".tmp~";

// A replacement killed half way leaves its temporary file (the file's name,
// the mark and a process number); the next one clears such files away, so
// that they do not pile up beside the program and a process number that comes
// round again finds its name free. One that a running replacement holds open
// is held without sharing and cannot be removed; a folder, a link, or a name
// with anything but digits after the mark is left alone.
void RemoveLeftoverTemporaries(const std::string& path) {
    const std::wstring pattern = Wide(path + kTemporaryMark + "*");
    const std::wstring folder = pattern.substr(0, pattern.find_last_of(L"\\/") + 1);
    const std::wstring prefix = FromCp1252(NameOf(path) + kTemporaryMark);
    const int prefixLength = static_cast<int>(prefix.size());
    WIN32_FIND_DATAW entry{};
    HANDLE find = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry,
                                     FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = entry.cFileName;
        constexpr DWORD kNoPlainFile = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
        if ((entry.dwFileAttributes & kNoPlainFile) != 0 || name.size() <= prefix.size() ||
            ::CompareStringOrdinal(name.c_str(), prefixLength, prefix.c_str(), prefixLength,
                                   TRUE) != CSTR_EQUAL)
            continue;
        bool digits = true;
        for (std::size_t i = prefix.size(); i < name.size(); ++i)
            digits = digits && name[i] >= L'0' && name[i] <= L'9';
        if (digits)
            ::DeleteFileW((folder + name).c_str());
    } while (::FindNextFileW(find, &entry));
    ::FindClose(find);
}

} // namespace

void ReplaceWholeFile(const std::string& path, const std::string& bytes) {
    const std::wstring wide = Wide(path);
    RefuseReadOnly(wide, path);
    const DWORD a = Attributes(wide);
    // A link keeps being a link: its target is written in place.
    if (a != kNoAttributes && (a & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        WriteInPlace(wide, path, bytes);
        return;
    }
    RemoveLeftoverTemporaries(path);
    // Named on the 1252 side, so that a name the suffix takes past the limit
    // gets the long form as well.
    const std::wstring temp = Wide(path + kTemporaryMark + std::to_string(::GetCurrentProcessId()));
    {
        Handle h(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!h.valid()) {
            // A folder we may not create files in: the old content is given
            // up in place rather than the new one refused.
            if (::GetLastError() == ERROR_ACCESS_DENIED && a != kNoAttributes) {
                WriteInPlace(wide, path, bytes);
                return;
            }
            FailLast(path);
        }
        try {
            WriteAll(h, path, {bytes});
        } catch (...) {
            ::DeleteFileW(temp.c_str());
            throw;
        }
    }
    // ReplaceFileW keeps the old file's attributes and security; a new file
    // takes a plain rename.
    const bool ok = a != kNoAttributes
                        ? ::ReplaceFileW(wide.c_str(), temp.c_str(), nullptr,
                                         REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0
                        : ::MoveFileExW(temp.c_str(), wide.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
    if (!ok) {
        const DWORD err = ::GetLastError();
        ::DeleteFileW(temp.c_str());
        Fail(NumberFromWin32(err), path);
    }
    // Not every ReplaceFileW carries the attributes over (Wine's does not).
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (a != kNoAttributes && (a & kKept) != (Attributes(wide) & kKept))
        ::SetFileAttributesW(wide.c_str(), (a & kKept) != 0 ? a & kKept : FILE_ATTRIBUTE_NORMAL);
}

void RenameNoReplace(const std::string& from, const std::string& to) {
    // No MOVEFILE_REPLACE_EXISTING: an existing name fails the move, and
    // without MOVEFILE_COPY_ALLOWED it never turns into a copy.
    const std::wstring wideFrom = Wide(from);
    const std::wstring wideTo = Wide(to);
    if (!WhileHeldByAnother([&] {
            return ::MoveFileExW(wideFrom.c_str(), wideTo.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
        }))
        FailLast(to);
}

namespace {

// The owner of a link must be the user himself, the administrators or the
// system; the token's user is compared as the platform compares SIDs.
bool IsTrustedOwner(PSID owner) {
    if (owner == nullptr)
        return false;
    if (::IsWellKnownSid(owner, WinBuiltinAdministratorsSid) ||
        ::IsWellKnownSid(owner, WinLocalSystemSid))
        return true;
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    Handle tokenHandle(token);
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<std::uint64_t> buffer((size + 7) / 8 + 1);
    if (size == 0 || !::GetTokenInformation(token, TokenUser, buffer.data(), size, &size))
        return false;
    return ::EqualSid(owner, reinterpret_cast<const TOKEN_USER*>(buffer.data())->User.Sid) != 0;
}

// The path as the native layer names it ("\??\C:\..."), which a rename by
// handle needs.
std::wstring NtPath(const std::wstring& path) {
    const DWORD n = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    std::wstring full(n, L'\0');
    const DWORD got = n == 0 ? 0 : ::GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
    if (got == 0 || got >= n)
        return L"\\??\\" + path;
    full.resize(got);
    if (full.rfind(L"\\\\?\\", 0) == 0)
        return L"\\??\\" + full.substr(4);
    if (full.rfind(L"\\\\", 0) == 0)
        return L"\\??\\UNC\\" + full.substr(2);
    return L"\\??\\" + full;
}

} // namespace

bool IsForeignLink(const std::string& path) {
    const std::wstring wide = Wide(path);
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

namespace {

// The owner of what the handle holds, as IsTrustedOwner judges it.
bool OwnedByUs(const Handle& h) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (::GetSecurityInfo(h.get(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                          nullptr, nullptr, &sd) != ERROR_SUCCESS)
        return false;
    const bool trusted = IsTrustedOwner(owner);
    ::LocalFree(sd);
    return trusted;
}

// The name itself, a link as a link; nothing opened for reading or writing.
Handle OpenForLooking(const std::wstring& wide, DWORD access) {
    return Handle(::CreateFileW(wide.c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS,
                                nullptr));
}

bool NotThere(DWORD err) {
    return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND || err == ERROR_DIRECTORY ||
           err == ERROR_INVALID_NAME;
}

} // namespace

std::optional<FileFacts> LookAt(const std::string& path) {
    Handle h = OpenForLooking(Wide(path), READ_CONTROL | FILE_READ_ATTRIBUTES);
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

std::optional<std::string> FolderIdentity(const std::string& dir) {
    // Followed where it is a link: the identity is that of the folder reached.
    Handle h(::CreateFileW(Wide(dir.empty() ? std::string(".") : dir).c_str(), FILE_READ_ATTRIBUTES,
                           kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!h.valid()) {
        if (NotThere(::GetLastError()))
            return std::nullopt;
        FailLast(dir);
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(h.get(), &info))
        FailLast(dir);
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return std::nullopt;
    char text[64];
    std::snprintf(text, sizeof text, "%08lx-%08lx%08lx",
                  static_cast<unsigned long>(info.dwVolumeSerialNumber),
                  static_cast<unsigned long>(info.nFileIndexHigh),
                  static_cast<unsigned long>(info.nFileIndexLow));
    return std::string(text);
}

std::string ReadOwnFile(const std::string& path, std::size_t maxBytes) {
    Handle h = OpenForLooking(Wide(path), GENERIC_READ | READ_CONTROL);
    if (!h.valid())
        FailLast(path);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(h.get(), &info))
        FailLast(path);
    if ((info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0 ||
        ::GetFileType(h.get()) != FILE_TYPE_DISK || !OwnedByUs(h))
        Fail(platform::ErrorNumber::PathFileAccess, path);
    return ReadOpened(h, path, maxBytes);
}

std::string NewRunId() {
    unsigned char bytes[16];
    if (!RtlGenRandom(bytes, sizeof bytes))
        Fail(platform::ErrorNumber::DeviceIo, "RtlGenRandom");
    return HexOf(bytes, sizeof bytes);
}

std::string HostName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    if (!::GetComputerNameW(name, &size))
        return {};
    return Narrow(std::wstring(name, size));
}

OwnFile::OwnFile(const std::string& path) : path_(path), handle_(0) {
    // No one else may write, rename or remove it while it is open: the name
    // stays ours until the rename by this very handle.
    Handle h(::CreateFileW(Wide(path).c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr,
                           CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.valid())
        FailLast(path);
    RequireDisk(h, path);
    handle_ = reinterpret_cast<std::intptr_t>(h.release());
}

OwnFile::~OwnFile() {
    if (handle_ != 0)
        ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

OwnFile::OwnFile(OwnFile&& other) noexcept
    : path_(std::move(other.path_)), handle_(std::exchange(other.handle_, 0)) {}

void OwnFile::Write(std::initializer_list<std::string_view> parts) {
    WriteAndFlush(reinterpret_cast<HANDLE>(handle_), path_, parts);
}

void OwnFile::RenameNoReplace(const std::string& to) {
    const std::wstring target = NtPath(Wide(to));
    const std::size_t bytes = target.size() * sizeof(wchar_t);
    std::string buffer(sizeof(FILE_RENAME_INFO) + bytes + sizeof(wchar_t), '\0');
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = FALSE;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(bytes);
    std::memcpy(info->FileName, target.c_str(), bytes);
    if (!::SetFileInformationByHandle(reinterpret_cast<HANDLE>(handle_), FileRenameInfo, info,
                                      static_cast<DWORD>(buffer.size())))
        FailLast(to);
    path_ = to;
}

void OwnFile::Remove() noexcept {
    // Set by position: the member's name is also a macro of windows.h.
    FILE_DISPOSITION_INFO info{TRUE};
    if (handle_ != 0)
        ::SetFileInformationByHandle(reinterpret_cast<HANDLE>(handle_), FileDispositionInfo, &info,
                                     sizeof info);
}

void RemoveFile(const std::string& path) {
    const std::wstring wide = Wide(path);
    const DWORD a = Attributes(wide);
    if (a == kNoAttributes)
        FailLast(path);
    // A link to a folder is removed like a file link; a folder itself is not.
    if ((a & FILE_ATTRIBUTE_DIRECTORY) != 0 && (a & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        Fail(platform::ErrorNumber::PathFileAccess, path);
    const bool readOnly = (a & FILE_ATTRIBUTE_READONLY) != 0;
    if (readOnly && !::SetFileAttributesW(wide.c_str(), a & ~FILE_ATTRIBUTE_READONLY))
        FailLast(path);
    const bool removed = (a & FILE_ATTRIBUTE_DIRECTORY) != 0 ? ::RemoveDirectoryW(wide.c_str())
                                                             : ::DeleteFileW(wide.c_str());
    if (!removed) {
        const DWORD err = ::GetLastError();
        if (readOnly)
            ::SetFileAttributesW(wide.c_str(), a); // as it was, since it stays
        Fail(NumberFromWin32(err), path);
    }
}

std::vector<std::string> ListFiles(const std::string& dir) {
    const std::wstring wide = Wide(dir);
    const DWORD a = Attributes(wide);
    if (a == kNoAttributes)
        FailLast(dir);
    if (!TargetIsDirectory(wide, a))
        Fail(platform::ErrorNumber::PathNotFound, dir);
    std::wstring pattern = wide;
    if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/')
        pattern += L'\\';
    const std::wstring folder = pattern;
    pattern += L'*';
    WIN32_FIND_DATAW entry{};
    // FindExInfoStandard: with the short names, for names 1252 cannot hold.
    HANDLE find = ::FindFirstFileExW(pattern.c_str(), FindExInfoStandard, &entry,
                                     FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    std::vector<std::string> names;
    if (find == INVALID_HANDLE_VALUE) {
        // A drive root without any entry has not even "." to list.
        if (::GetLastError() == ERROR_FILE_NOT_FOUND)
            return names;
        FailLast(dir);
    }
    do {
        const std::wstring name = entry.cFileName;
        bool file = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
            file = IsFile(folder + name);
        if (file)
            names.push_back(NarrowOrShort(name, entry.cAlternateFileName));
    } while (::FindNextFileW(find, &entry));
    const DWORD err = ::GetLastError();
    ::FindClose(find);
    if (err != ERROR_NO_MORE_FILES)
        Fail(NumberFromWin32(err), dir);
    return names;
}

void SyncDirectory(const std::string&) {
    // The moves are made with MOVEFILE_WRITE_THROUGH and the files flushed;
    // Windows offers no flush of a folder's entries beyond that.
}

} // namespace tessaro::platform
