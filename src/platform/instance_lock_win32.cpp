#include "platform/cp1252.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/instance_lock.h"
#include "platform/wide_path_win32.h"
#include "platform/windows_api_win32.h"

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
    const std::wstring path = WidePath(Join(programDirectory, kLockFileName));
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

InstanceLock::~InstanceLock() {
    if (file_ != nullptr)
        ::CloseHandle(static_cast<HANDLE>(file_)); // closing releases the lock
}

} // namespace tessaro::platform
