// Folders on Windows: listed, synced where that means anything, and told
// apart by volume serial and file index.
#include "platform/files_win32_common.h"

namespace tessaro::platform {

using namespace detail;

std::vector<std::string> ListFiles(const std::string& dir) {
    const std::wstring wide = WidePath(dir);
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

std::optional<std::string> FolderIdentity(const std::string& dir) {
    // Followed where it is a link: the identity is that of the folder reached.
    Handle h(::CreateFileW(WidePath(dir.empty() ? std::string(".") : dir).c_str(),
                           FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr));
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

} // namespace tessaro::platform
