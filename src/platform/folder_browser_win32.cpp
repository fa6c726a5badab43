// The Windows shell's folder browser: the dialog the operator knows from
// Explorer, network places included.
#include "platform/folder_browser.h"
#include "platform/wide_path_win32.h"
#include "platform/windows_api_win32.h"

// After windows.h, which they build on.
#include <objbase.h>
#include <shlobj.h>
#include <string>

namespace tessaro::platform {
namespace {

// The item's file-system path: within MAX_PATH as the shell has always given
// it, a deeper folder through the call that takes a longer buffer.
std::wstring FileSystemPath(PCIDLIST_ABSOLUTE item) {
    std::wstring path(MAX_PATH, L'\0');
    if (::SHGetPathFromIDListW(item, path.data())) {
        path.resize(path.find(L'\0'));
        return path;
    }
    path.assign(32768, L'\0');
    if (::SHGetPathFromIDListEx(item, path.data(), static_cast<DWORD>(path.size()),
                                GPFIDL_DEFAULT)) {
        path.resize(path.find(L'\0'));
        return path;
    }
    return {};
}

// The shell needs an apartment-threaded COM on this thread. Qt's Windows
// platform has already initialised OLE on the GUI thread, so this only counts
// up (S_FALSE) and down again; a thread without COM gets it for the dialog.
class ComApartment {
public:
    ComApartment()
        : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_))
            ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT result_;
};

} // namespace

bool HasFolderBrowser() {
    return true;
}

BrowsedFolder BrowseForFolder(const std::string& title) {
    const ComApartment com;
    const std::wstring prompt = WideText(title);
    BROWSEINFOW info{};
    info.hwndOwner = ::GetActiveWindow();
    info.pidlRoot = nullptr;       // the whole namespace, from the desktop down
    info.pszDisplayName = nullptr; // the path is all we want
    info.lpszTitle = prompt.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = nullptr;
    info.lParam = 0;
    PIDLIST_ABSOLUTE item = ::SHBrowseForFolderW(&info);
    if (item == nullptr)
        return {};
    const std::wstring wide = FileSystemPath(item);
    ::CoTaskMemFree(item);
    if (wide.empty())
        return {};
    std::string ansi = AnsiOrShortPath(wide);
    if (ansi.empty())
        return {BrowsedFolder::Outcome::NotRepresentable, AnsiText(wide)};
    return {BrowsedFolder::Outcome::Chosen, std::move(ansi)};
}

} // namespace tessaro::platform
