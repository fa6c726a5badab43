// On Windows the newly started process may set the foreground window: the
// main window of the Tessaro whose executable lies in this folder is
// restored if minimised and brought to the front.
#include "platform/running_instance.h"
#include "platform/windows_api_win32.h"

#include <string>

namespace tessaro::platform {
namespace {

std::wstring FolderOf(std::wstring path) {
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring OwnFolder() {
    std::wstring path(32768, L'\0');
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(n);
    return FolderOf(path);
}

std::wstring FolderOfProcess(DWORD pid) {
    Handle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process.valid())
        return {};
    std::wstring path(32768, L'\0');
    DWORD size = static_cast<DWORD>(path.size());
    if (!::QueryFullProcessImageNameW(process.get(), 0, path.data(), &size))
        return {};
    path.resize(size);
    return FolderOf(path);
}

struct Search {
    std::wstring folder;
    HWND found = nullptr;
};

BOOL CALLBACK Visit(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    wchar_t title[64] = {};
    ::GetWindowTextW(window, title, 64);
    if (std::wstring_view(title).rfind(L"Velt - Tessaro [", 0) != 0)
        return TRUE;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    const std::wstring folder = FolderOfProcess(pid);
    if (pid == ::GetCurrentProcessId() || folder.empty() ||
        ::CompareStringOrdinal(folder.c_str(), -1, search->folder.c_str(), -1, TRUE) != CSTR_EQUAL)
        return TRUE;
    search->found = window;
    return FALSE;
}

} // namespace

void BringRunningInstanceForward() {
    Search search{OwnFolder()};
    if (search.folder.empty())
        return;
    ::EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr)
        return;
    if (::IsIconic(search.found))
        ::ShowWindow(search.found, SW_RESTORE);
    ::SetForegroundWindow(search.found);
}

} // namespace tessaro::platform
