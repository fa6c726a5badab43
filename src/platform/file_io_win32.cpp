// Whole files on Windows: read with a bound, written new, replaced through a
// temporary file, renamed never over another, removed.
#include "platform/files_win32_common.h"

namespace tessaro::platform {

using namespace detail;

namespace {

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

// A disk file opened for reading; a folder or a device fails at once.
Handle OpenForReading(const std::string& path) {
    const std::wstring wide = WidePath(path);
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

constexpr const char* kTemporaryMark = ".tmp~";

// A replacement killed half way leaves its temporary file (the file's name,
// the mark and a process number); the next one clears such files away, so
// that they do not pile up beside the program and a process number that comes
// round again finds its name free. One that a running replacement holds open
// is held without sharing and cannot be removed; a folder, a link, or a name
// with anything but digits after the mark is left alone.
void RemoveLeftoverTemporaries(const std::string& path) {
    const std::wstring pattern = WidePath(path + kTemporaryMark + "*");
    const std::wstring folder = pattern.substr(0, pattern.find_last_of(L"\\/") + 1);
    const std::wstring prefix = WideText(NameOf(path) + kTemporaryMark);
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
    const std::wstring wide = WidePath(path);
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

void ReplaceWholeFile(const std::string& path, const std::string& bytes) {
    const std::wstring wide = WidePath(path);
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
    const std::wstring temp =
        WidePath(path + kTemporaryMark + std::to_string(::GetCurrentProcessId()));
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
    const std::wstring wideFrom = WidePath(from);
    const std::wstring wideTo = WidePath(to);
    if (!WhileHeldByAnother([&] {
            return ::MoveFileExW(wideFrom.c_str(), wideTo.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
        }))
        FailLast(to);
}

std::string ReadOwnFile(const std::string& path, std::size_t maxBytes) {
    Handle h = OpenForLooking(WidePath(path), GENERIC_READ | READ_CONTROL);
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

void RemoveFile(const std::string& path) {
    const std::wstring wide = WidePath(path);
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

} // namespace tessaro::platform
