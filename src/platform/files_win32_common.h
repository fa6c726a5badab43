// What the Win32 file services share: errors as PlatformError (a file held by
// another program waited for, then said as such), attributes, disk handles,
// whole writes, owners, names looked at without following a link.
#pragma once

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

// After windows.h, which they need.
#include <aclapi.h>
#include <ntsecapi.h>

namespace tessaro::platform::detail {

inline platform::ErrorNumber NumberFromWin32(DWORD err) {
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

[[noreturn]] inline void Fail(platform::ErrorNumber number, const std::string& ansiPath) {
    throw platform::PlatformError(number, ansiPath);
}

inline bool HeldByAnother(DWORD err) {
    return err == ERROR_SHARING_VIOLATION || err == ERROR_LOCK_VIOLATION;
}

[[noreturn]] inline void FailLast(const std::string& ansiPath) {
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

// The name as Windows-1252 bytes; where code page 1252 cannot hold it, its
// short 8.3 name (plain ASCII) when the volume has one, so the path still
// leads to the file.
inline std::string NarrowOrShort(const std::wstring& wide, const std::wstring& shortName) {
    std::string ansi = AnsiText(wide);
    if (WideText(ansi) == wide || shortName.empty())
        return ansi;
    const std::string alternative = AnsiText(shortName);
    return WideText(alternative) == shortName ? alternative : ansi;
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

constexpr DWORD kNoAttributes = INVALID_FILE_ATTRIBUTES;

inline DWORD Attributes(const std::wstring& path) {
    return path.empty() ? kNoAttributes : ::GetFileAttributesW(path.c_str());
}

// A link or junction is judged by what it leads to, as on Linux.
inline bool TargetIsDirectory(const std::wstring& path, DWORD attributes) {
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    Handle h(::CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!h.valid() || !::GetFileInformationByHandle(h.get(), &info))
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

inline bool IsFile(const std::wstring& path) {
    const DWORD a = Attributes(path);
    return a != kNoAttributes && !TargetIsDirectory(path, a);
}

// Devices (NUL, COM1, a pipe) open like files but are none; reading one could
// block start-up for ever.
inline void RequireDisk(const Handle& h, const std::string& path) {
    if (::GetFileType(h.get()) != FILE_TYPE_DISK)
        Fail(platform::ErrorNumber::PathFileAccess, path);
}

// The parts one after the other, then on the disk; the handle stays open.
inline void WriteAndFlush(HANDLE h, const std::string& path,
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

inline void WriteAll(Handle& h, const std::string& path,
                     std::initializer_list<std::string_view> parts) {
    WriteAndFlush(h.get(), path, parts);
    if (!h.close())
        FailLast(path);
}

// The owner of a link must be the user himself, the administrators or the
// system; the token's user is compared as the platform compares SIDs.
inline bool IsTrustedOwner(PSID owner) {
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
inline std::wstring NtPath(const std::wstring& path) {
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

// The owner of what the handle holds, as IsTrustedOwner judges it.
inline bool OwnedByUs(const Handle& h) {
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
inline Handle OpenForLooking(const std::wstring& wide, DWORD access) {
    return Handle(::CreateFileW(wide.c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS,
                                nullptr));
}

inline bool NotThere(DWORD err) {
    return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND || err == ERROR_DIRECTORY ||
           err == ERROR_INVALID_NAME;
}

} // namespace tessaro::platform::detail
