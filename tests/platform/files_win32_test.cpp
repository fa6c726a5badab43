// The Win32 file services and instance lock against the promises the Linux
// tests prove with fork(), chmod() and mkfifo(), which Windows lacks.
#include "platform/cp1252.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/instance_lock.h"
#include "platform/wide_path_win32.h"
#include "support/error_number.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <windows.h>

namespace tessaro::platform {
namespace {

namespace stdfs = std::filesystem;
using test::Slurp;
using test::Spit;

using test::NumberOf;

// Read-only as Explorer sets it, without the code under test.
void MarkReadOnly(const std::string& path) {
    stdfs::permissions(
        path, stdfs::perms::owner_write | stdfs::perms::group_write | stdfs::perms::others_write,
        stdfs::perm_options::remove);
}

TEST(FilesWin32, PathsAreWindows1252AndJoinedWithBackslash) {
    test::TempDir tmp;
    const std::string dir = ProgramDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_NE(dir.back(), '\\');
    EXPECT_TRUE(FileExists(Join(dir, "core_tests.exe")));
    EXPECT_EQ(Join("C:\\GDT", "001.7.gdt"), "C:\\GDT\\001.7.gdt");

    // The bytes are code page 1252 whatever the ANSI code page: ö is 0xF6, € 0x80.
    const std::string name = platform::cp1252::Ansi("Röntgen €.gdt");
    WriteWholeFile(Join(tmp.path(), name), "abc");
    EXPECT_TRUE(stdfs::is_regular_file(stdfs::path(tmp.path()) / L"R\u00f6ntgen \u20ac.gdt"));
    EXPECT_EQ(ListFiles(tmp.path()), std::vector<std::string>{name});
    EXPECT_EQ(ReadWholeFile(Join(tmp.path(), name)), "abc");
}

TEST(FilesWin32, ExistenceTellsFilesFromFoldersAndDevices) {
    test::TempDir tmp;
    Spit(tmp.File("f.gdt"), "x");
    stdfs::create_directory(tmp.File("sub"));
    const struct {
        std::string path;
        bool file, directory;
    } rows[] = {
        {tmp.File("f.gdt"), true, false}, {tmp.File("sub"), false, true},
        {tmp.File("none"), false, false}, {"", false, false},
        {tmp.path(), false, true},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(FileExists(r.path), r.file) << r.path;
        EXPECT_EQ(DirectoryExists(r.path), r.directory) << r.path;
    }
}

TEST(FilesWin32, FailuresCarryTheirNumbersAndChangeNothing) {
    test::TempDir tmp;
    Spit(tmp.File("ro.gdt"), "old");
    MarkReadOnly(tmp.File("ro.gdt"));
    Spit(tmp.File("a.zzz"), "new");
    Spit(tmp.File("a.gdt"), "older");
    stdfs::create_directory(tmp.File("sub"));
    const struct {
        const char* what;
        std::function<void()> call;
        int number;
    } rows[] = {
        {"read a folder", [&] { ReadWholeFile(tmp.File("sub")); }, 75},
        {"read a device", [&] { ReadWholeFile("NUL"); }, 75},
        {"read nothing", [&] { ReadWholeFile(tmp.File("none")); }, 53},
        {"write read-only", [&] { WriteWholeFile(tmp.File("ro.gdt"), "x"); }, 70},
        {"replace read-only", [&] { ReplaceWholeFile(tmp.File("ro.gdt"), "x"); }, 70},
        {"write a folder", [&] { WriteWholeFile(tmp.File("sub"), "x"); }, 75},
        {"rename onto a file", [&] { RenameNoReplace(tmp.File("a.zzz"), tmp.File("a.gdt")); }, 58},
        {"rename onto a folder", [&] { RenameNoReplace(tmp.File("a.zzz"), tmp.File("sub")); }, 58},
        {"delete nothing", [&] { RemoveFile(tmp.File("none")); }, 53},
        {"delete a folder", [&] { RemoveFile(tmp.File("sub")); }, 75},
        {"list a file", [&] { ListFiles(tmp.File("a.gdt")); }, 76},
        {"list nothing", [&] { ListFiles(tmp.File("none")); }, 53},
    };
    for (const auto& r : rows)
        EXPECT_EQ(NumberOf(r.call), r.number) << r.what;
    EXPECT_EQ(Slurp(tmp.File("ro.gdt")), "old");
    EXPECT_EQ(Slurp(tmp.File("a.zzz")), "new");
    EXPECT_EQ(Slurp(tmp.File("a.gdt")), "older");
    EXPECT_TRUE(stdfs::is_directory(tmp.File("sub")));
}

void Hide(const std::string& path) {
    ASSERT_TRUE(::SetFileAttributesW(stdfs::path(path).c_str(), FILE_ATTRIBUTE_HIDDEN));
}
bool Hidden(const std::string& path) {
    return (::GetFileAttributesW(stdfs::path(path).c_str()) & FILE_ATTRIBUTE_HIDDEN) != 0;
}

TEST(FilesWin32, WritesReplaceWholeDeleteForcesAndListsFilesOnly) {
    test::TempDir tmp;
    // A longer, hidden leftover (hidden files refuse CREATE_ALWAYS) gives way
    // to a new file; a replaced file keeps being hidden.
    Spit(tmp.File("h.zzz"), std::string(100, 'x'));
    Hide(tmp.File("h.zzz"));
    Spit(tmp.File("count.txt"), "12345");
    Hide(tmp.File("count.txt"));
    stdfs::create_directory(tmp.File("sub"));
    // An interrupted replacement's temporary goes; a name merely like one stays.
    Spit(tmp.File("count.txt.tmp~4242"), "half");
    Spit(tmp.File("count.txt.tmp~old"), "mine");
    WriteWholeFile(tmp.File("h.zzz"), "short");
    EXPECT_EQ(Slurp(tmp.File("h.zzz")), "short");
    ReplaceWholeFile(tmp.File("count.txt"), "7");
    ReplaceWholeFile(tmp.File("fresh.txt"), "1");
    EXPECT_EQ(Slurp(tmp.File("count.txt")), "7");
    EXPECT_TRUE(Hidden(tmp.File("count.txt")));
    EXPECT_EQ(Slurp(tmp.File("fresh.txt")), "1");
    EXPECT_FALSE(stdfs::exists(tmp.File("count.txt.tmp~4242")));
    RemoveFile(tmp.File("count.txt.tmp~old"));

    RenameNoReplace(tmp.File("h.zzz"), tmp.File("h.gdt"));
    EXPECT_EQ(Slurp(tmp.File("h.gdt")), "short");
    EXPECT_FALSE(stdfs::exists(tmp.File("h.zzz")));

    auto names = ListFiles(tmp.path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"count.txt", "fresh.txt", "h.gdt"}));

    MarkReadOnly(tmp.File("h.gdt"));
    RemoveFile(tmp.File("h.gdt"));
    EXPECT_FALSE(stdfs::exists(tmp.File("h.gdt")));
    // Nothing left behind by the replacements.
    names = ListFiles(tmp.path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"count.txt", "fresh.txt"}));
}

// The .zzz of a run: made only where no file is, moved by its own handle (so
// no other file can take its place on the way), removed only while it is ours.
TEST(FilesWin32, OwnFileIsMadeExclusivelyAndMovedByItsHandle) {
    test::TempDir tmp;
    Spit(tmp.File("taken.zzz"), "theirs");
    EXPECT_EQ(NumberOf([&] { OwnFile f(tmp.File("taken.zzz")); }), 58);
    EXPECT_EQ(Slurp(tmp.File("taken.zzz")), "theirs");
    {
        OwnFile mine(tmp.File("a.zzz"));
        mine.Write({"req", "line"});
        Spit(tmp.File("a.gdt"), "older");
        EXPECT_EQ(NumberOf([&] { mine.RenameNoReplace(tmp.File("a.gdt")); }), 58);
        EXPECT_EQ(Slurp(tmp.File("a.gdt")), "older");
        stdfs::remove(tmp.File("a.gdt"));
        mine.RenameNoReplace(tmp.File("a.gdt"));
    }
    EXPECT_EQ(Slurp(tmp.File("a.gdt")), "reqline");
    EXPECT_FALSE(stdfs::exists(tmp.File("a.zzz")));
    {
        OwnFile cut(tmp.File("b.zzz"));
        cut.Write({"part"});
        cut.Remove();
    }
    EXPECT_FALSE(stdfs::exists(tmp.File("b.zzz")));
    EXPECT_FALSE(IsForeignLink(tmp.File("a.gdt")));
    EXPECT_FALSE(IsForeignLink(tmp.File("missing")));
    EXPECT_EQ(FolderOf("C:\\GDT\\x.gdt"), "C:\\GDT");
    EXPECT_EQ(FolderOf("C:\\x.gdt"), "C:\\");
    EXPECT_EQ(NameOf("C:\\GDT/x.gdt"), "x.gdt");
    EXPECT_FALSE(HostName().empty());
}

TEST(FilesWin32, NamesBeyondCodePage1252AreListedByTheirShortNames) {
    test::TempDir tmp;
    std::ofstream(stdfs::path(tmp.path()) / L"\u03a9-Anfrage.gdt", std::ios::binary) << "omega";
    const std::vector<std::string> names = ListFiles(tmp.path());
    ASSERT_EQ(names.size(), 1u);
    if (names[0].find('?') != std::string::npos)
        GTEST_SKIP() << "the volume keeps no short names";
    EXPECT_EQ(ReadWholeFile(Join(tmp.path(), names[0])), "omega");
}

// Paths past 260 characters, however the caller spells them, reach the file:
// the long form is made only for long paths and only from a normalised one.
TEST(FilesWin32, LongPathsWorkHoweverTheyAreSpelled) {
    test::TempDir tmp;
    std::string deep = tmp.path();
    for (int i = 0; deep.size() < 300; ++i)
        deep += "\\" + std::string(60, static_cast<char>('a' + i)) + "\xe4";
    for (std::string at = tmp.path(); at.size() < deep.size();) {
        at = deep.substr(0, deep.find('\\', at.size() + 1));
        ASSERT_TRUE(::CreateDirectoryW(WidePath(at).c_str(), nullptr) ||
                    ::GetLastError() == ERROR_ALREADY_EXISTS)
            << at;
    }
    const std::string name = "001.7.gdt";
    std::string slashed = deep;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    const std::string dotted = deep + "\\.\\x\\..";
    for (const std::string& dir : {deep, slashed, dotted}) {
        SCOPED_TRACE(dir);
        ASSERT_GT(dir.size(), 300u);
        EXPECT_TRUE(DirectoryExists(dir));
        const std::string zzz = Join(dir, "001.7.zzz");
        WriteWholeFile(zzz, "request\r\n");
        EXPECT_TRUE(FileExists(zzz));
        RenameNoReplace(zzz, Join(dir, name));
        EXPECT_EQ(ReadWholeFile(Join(deep, name)), "request\r\n");
        ReplaceWholeFile(Join(dir, name), "again");
        EXPECT_EQ(ListFiles(dir), std::vector<std::string>{name});
        EXPECT_TRUE(FileHoldsExactly(Join(dir, name), "again"));
        RemoveFile(Join(dir, name));
        EXPECT_FALSE(FileExists(Join(deep, name)));
    }

    const std::wstring tail(260, L'x');
    const struct {
        std::string path;
        std::wstring wide;
    } forms[] = {
        {"C:\\GDT\\a.gdt", L"C:\\GDT\\a.gdt"}, // short: as written
        {"rel/a.gdt", L"rel/a.gdt"},
        {"C:/GDT/" + std::string(260, 'x'), L"\\\\?\\C:\\GDT\\" + tail},
        {"C:\\GDT\\.\\sub\\..\\" + std::string(260, 'x'), L"\\\\?\\C:\\GDT\\" + tail},
        {"\\\\server\\share\\" + std::string(260, 'x'), L"\\\\?\\UNC\\server\\share\\" + tail},
        {"\\\\?\\C:\\" + std::string(260, 'x'), L"\\\\?\\C:\\" + tail},
    };
    for (const auto& form : forms)
        EXPECT_EQ(WidePath(form.path), form.wide) << form.path;
}

// A folder the browser returns: 1252 as it stands, else its short name, else "".
TEST(FilesWin32, FolderNamesBeyondCodePage1252TakeTheirShortName) {
    test::TempDir tmp;
    const std::wstring omega = WidePath(tmp.path()) + L"\\\u03a9mega";
    ASSERT_TRUE(::CreateDirectoryW(omega.c_str(), nullptr));
    EXPECT_EQ(AnsiOrShortPath(WidePath(tmp.path()) + L"\\R\u00f6ntgen"),
              tmp.path() + "\\R\xf6ntgen");
    const std::string shortName = AnsiOrShortPath(omega);
    if (shortName.empty())
        GTEST_SKIP() << "the volume keeps no short names";
    EXPECT_EQ(shortName.find('?'), std::string::npos);
    EXPECT_TRUE(DirectoryExists(shortName)) << shortName;
    EXPECT_TRUE(AnsiOrShortPath(L"\\\\nowhere\\share\\\u03a9").empty());
}

// A file another program holds open without sharing (a virus scanner, the
// practice system still writing): let go within the wait, it is read and
// moved; held on, it is said as held, with number 70 and its name.
TEST(FilesWin32, AFileHeldByAnotherProgramIsWaitedForThenNamed) {
    test::TempDir tmp;
    const std::string request = tmp.File("anfrage.gdt");
    const struct {
        const char* what;
        std::function<void()> act;
    } rows[] = {
        {"read", [&] { EXPECT_EQ(ReadWholeFile(request), "0123"); }},
        {"renamed",
         [&] {
             RenameNoReplace(request, tmp.File("claim"));
             RenameNoReplace(tmp.File("claim"), request);
         }},
    };
    for (const auto& r : rows) {
        for (const DWORD holdMs : {300u, 5000u}) {
            SCOPED_TRACE(std::string(r.what) + ", held " + std::to_string(holdMs) + " ms");
            Spit(request, "0123");
            HANDLE held = ::CreateFileW(WidePath(request).c_str(), GENERIC_READ, 0, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(held, INVALID_HANDLE_VALUE);
            HANDLE timer = ::CreateThread(
                nullptr, 0,
                [](void* arg) -> DWORD {
                    const std::unique_ptr<std::pair<HANDLE, DWORD>> h(
                        static_cast<std::pair<HANDLE, DWORD>*>(arg));
                    ::Sleep(h->second);
                    ::CloseHandle(h->first);
                    return 0;
                },
                new std::pair<HANDLE, DWORD>(held, holdMs), 0, nullptr);
            if (holdMs < 1000) {
                r.act();
            } else {
                try {
                    r.act();
                    ADD_FAILURE() << "no failure";
                } catch (const FileInUse& e) {
                    EXPECT_EQ(e.Number(), 70);
                    EXPECT_NE(e.Description().find("anderen Programm"), std::string::npos);
                }
            }
            ::WaitForSingleObject(timer, INFINITE);
            ::CloseHandle(timer);
        }
    }
}

TEST(InstanceLockWin32, OneInstancePerFolderHoweverItIsSpelled) {
    test::TempDir program;
    test::TempDir other;
    std::string upper = program.path();
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char c) { return platform::cp1252::ToUpper(c); });
    std::string slashes = program.path() + "\\";
    std::replace(slashes.begin(), slashes.end(), '\\', '/');
    {
        platform::InstanceLock first(program.path());
        ASSERT_TRUE(first.Held());
        for (const std::string& spelling : {program.path(), upper, slashes})
            EXPECT_TRUE(platform::InstanceLock(spelling).AnotherInstanceRunning()) << spelling;
        EXPECT_FALSE(platform::InstanceLock(other.path()).AnotherInstanceRunning());
        EXPECT_EQ(std::distance(stdfs::directory_iterator(program.path()), {}), 1);
    }
    EXPECT_TRUE(platform::InstanceLock(program.path()).Held());
}

// What one who may read the lock file can do to it: lock it, or open it denying
// others. Either is said, never taken for a running instance; a name in the
// object namespace, which anyone can take first, is not used.
TEST(InstanceLockWin32, AReaderCanNeitherSilenceNorDodgeTheLock) {
    test::TempDir program;
    const std::wstring lockFile = stdfs::path(program.File(platform::kLockFileName)).wstring();
    { platform::InstanceLock made(program.path()); }
    const struct {
        const char* what;
        DWORD share;
        bool lock;
    } rows[] = {
        {"locked by a reader", FILE_SHARE_READ | FILE_SHARE_WRITE, true},
        {"opened by a reader denying writes", FILE_SHARE_READ, false},
        {"opened by a reader denying everything", 0, false},
    };
    for (const auto& row : rows) {
        HANDLE reader = ::CreateFileW(lockFile.c_str(), GENERIC_READ, row.share, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(reader, INVALID_HANDLE_VALUE) << row.what;
        OVERLAPPED at{};
        if (row.lock)
            ASSERT_TRUE(::LockFileEx(reader, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0,
                                     1, 0, &at))
                << row.what;
        {
            platform::InstanceLock ours(program.path());
            EXPECT_FALSE(ours.Held()) << row.what;
            EXPECT_FALSE(ours.AnotherInstanceRunning()) << row.what;
            EXPECT_NE(ours.Failure().find(platform::kLockFileName), std::string::npos) << row.what;
        }
        ::CloseHandle(reader);
        EXPECT_TRUE(platform::InstanceLock(program.path()).Held()) << row.what;
    }
}

} // namespace
} // namespace tessaro::platform
