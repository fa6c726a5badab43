// The file a run made itself, held open until it is put in place by its
// own handle.
#include "platform/files_win32_common.h"

namespace tessaro::platform {

using namespace detail;

OwnFile::OwnFile(const std::string& path) : path_(path), handle_(0) {
    // No one else may write, rename or remove it while it is open: the name
    // stays ours until the rename by this very handle.
    Handle h(::CreateFileW(WidePath(path).c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr,
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
    const std::wstring target = NtPath(WidePath(to));
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

} // namespace tessaro::platform
