#include "platform/cp1252.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/instance_lock.h"
#include "platform/wide_path_win32.h"
#include "platform/windows_api_win32.h"

#include <algorithm>
#include <string>

namespace tessaro::platform {
namespace {

std::string Describe(DWORD err) {
    switch (err) {
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return DescribeError(ErrorNumber::PermissionDenied);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
        return DescribeError(ErrorNumber::PathNotFound);
    default:
        return DescribeError(ErrorNumber::PathFileAccess);
    }
}

// Every instance opens the file sharing reading and writing.
constexpr DWORD kShared = FILE_SHARE_READ | FILE_SHARE_WRITE;

} // namespace

InstanceLock::InstanceLock(const std::string& programDirectory) {
    // The file is the same for every spelling of the folder, every user and
    // every session, unlike a name in the object namespace, which anyone may
    // take first.
    path_ = Join(programDirectory, kLockFileName);
    const std::wstring path = WidePath(path_);
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, kShared, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD err = ::GetLastError();
        // No instance denies sharing: whoever does is another program.
        Refuse(err == ERROR_SHARING_VIOLATION ? cp1252::Ansi("ein anderes Programm hält sie offen")
                                              : Describe(err));
        return;
    }
    if (::GetFileType(file) != FILE_TYPE_DISK) {
        ::CloseHandle(file);
        Refuse(Describe(ERROR_INVALID_HANDLE));
        return;
    }
    OVERLAPPED first{};
    if (::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &first)) {
        file_ = file;
        held_ = true;
        return;
    }
    const DWORD err = ::GetLastError();
    ::CloseHandle(file);
    if (err != ERROR_LOCK_VIOLATION) {
        Refuse(Describe(err));
        return;
    }
    // Anyone who may read the file can lock it. An instance holds it open for
    // writing besides, which an open that refuses to share writing finds out;
    // one who may only read the file cannot do that.
    HANDLE probe = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_SHARING_VIOLATION) {
        another_ = true;
        return;
    }
    if (probe != INVALID_HANDLE_VALUE)
        ::CloseHandle(probe);
    Refuse(cp1252::Ansi("ein anderes Programm hält sie gesperrt"));
}

std::string InstanceLock::ReadAt(std::uint64_t offset, std::size_t size) const {
    std::string bytes(size, '\0');
    std::size_t done = 0;
    while (done < size) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>((offset + done) & 0xFFFFFFFFu);
        at.OffsetHigh = static_cast<DWORD>((offset + done) >> 32);
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 20));
        if (!::ReadFile(static_cast<HANDLE>(file_), bytes.data() + done, want, &got, &at)) {
            if (::GetLastError() == ERROR_HANDLE_EOF)
                break;
            throw PlatformError(ErrorNumber::DeviceIo, path_);
        }
        if (got == 0)
            break;
        done += got;
    }
    bytes.resize(done);
    return bytes;
}

void InstanceLock::WriteAt(std::uint64_t offset, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>((offset + done) & 0xFFFFFFFFu);
        at.OffsetHigh = static_cast<DWORD>((offset + done) >> 32);
        DWORD put = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        if (!::WriteFile(static_cast<HANDLE>(file_), bytes.data() + done, want, &put, &at) ||
            put == 0) {
            const DWORD err = ::GetLastError();
            throw PlatformError(err == ERROR_DISK_FULL || err == ERROR_HANDLE_DISK_FULL
                                    ? ErrorNumber::DiskFull
                                    : ErrorNumber::DeviceIo,
                                path_);
        }
        done += put;
    }
    if (!::FlushFileBuffers(static_cast<HANDLE>(file_)))
        throw PlatformError(ErrorNumber::DeviceIo, path_);
}

InstanceLock::~InstanceLock() {
    if (file_ != nullptr)
        ::CloseHandle(static_cast<HANDLE>(file_)); // closing releases the lock
}

} // namespace tessaro::platform
