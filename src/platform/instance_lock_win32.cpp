#include "platform/instance_lock.h"

#include <cstdint>
#include <cstdio>
#include <string>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace tessaro::platform {
namespace {

// FNV-1a: stable across runs and builds, which std::hash does not promise.
std::uint64_t Fnv1a(const std::wstring& text) {
    std::uint64_t h = 14695981039346656037ull;
    for (wchar_t c : text) {
        for (int shift = 0; shift < 16; shift += 8) {
            h ^= static_cast<unsigned>(c >> shift) & 0xFFu;
            h *= 1099511628211ull;
        }
    }
    return h;
}

std::wstring Wide(const std::string& ansi) {
    if (ansi.empty())
        return {};
    const int n =
        ::MultiByteToWideChar(1252, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        ::MultiByteToWideChar(1252, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
    return wide;
}

// One key for every spelling of the same folder: Windows names are case
// blind, a short 8.3 name may stand for the long one, and a trailing
// separator or "\.\" changes nothing.
std::wstring NormalisedDirectory(const std::string& programDirectory) {
    std::wstring path = Wide(programDirectory);
    if (DWORD n = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr); n > 0) {
        std::wstring full(n, L'\0');
        n = ::GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
        if (n > 0 && n < full.size()) {
            full.resize(n);
            path = full;
        }
    }
    if (DWORD n = ::GetLongPathNameW(path.c_str(), nullptr, 0); n > 0) {
        std::wstring longer(n, L'\0');
        n = ::GetLongPathNameW(path.c_str(), longer.data(), n);
        if (n > 0 && n < longer.size()) {
            longer.resize(n);
            path = longer;
        }
    }
    while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/'))
        path.pop_back();
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    if (!path.empty())
        ::CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
    return path;
}

// Global: one instance per folder for every user and every session, as the
// folder's files (counter, settings) are shared by all of them.
std::string MutexName(const std::string& programDirectory) {
    char name[64];
    std::snprintf(name, sizeof name, "Global\\Tessaro-%016llx",
                  static_cast<unsigned long long>(Fnv1a(NormalisedDirectory(programDirectory))));
    return name;
}

} // namespace

InstanceLock::InstanceLock(const std::string& programDirectory) {
    const std::wstring name = Wide(MutexName(programDirectory));
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, name.c_str());
    const DWORD err = ::GetLastError();
    if (mutex == nullptr) {
        // Another user's instance made the mutex and we may not open it: it is
        // running all the same. Any other failure: better run than refuse to
        // start for ever.
        another_ = err == ERROR_ACCESS_DENIED;
        return;
    }
    if (err == ERROR_ALREADY_EXISTS) {
        another_ = true;
        ::CloseHandle(mutex);
        return;
    }
    mutex_ = mutex;
    held_ = true;
}

InstanceLock::~InstanceLock() {
    if (mutex_ != nullptr)
        ::CloseHandle(static_cast<HANDLE>(mutex_)); // the last handle removes the name
}

} // namespace tessaro::platform
