#include "platform/cp1252.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "support/error_number.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tessaro::platform {
namespace {

using test::Slurp;
using test::Spit;
using test::TempDir;

using test::NumberOf;

TEST(Errors, GermanDescriptionsFromOneTable) {
    const std::pair<platform::ErrorNumber, const char*> rows[] = {
        {platform::ErrorNumber::FileNotFound, "Datei nicht gefunden"},
        {platform::ErrorNumber::PermissionDenied, "Zugriff verweigert"},
        {platform::ErrorNumber::FileExists, "Datei existiert bereits"},
        {platform::ErrorNumber::DiskFull, "Datenträger voll"},
        {platform::ErrorNumber::Overflow, "Überlauf"},
        {platform::ErrorNumber::TypeMismatch, "Typen unverträglich"},
    };
    for (const auto& [number, utf8] : rows)
        EXPECT_EQ(platform::DescribeError(number), platform::cp1252::Ansi(utf8)) << utf8;
    const platform::PlatformError e = platform::ErrorFromErrno(ENOSPC, "/x");
    EXPECT_EQ(e.Number(), 61);
    EXPECT_EQ(e.Description(), platform::cp1252::Ansi("Datenträger voll"));
    EXPECT_EQ(std::string(e.what()), platform::cp1252::Ansi("61 - Datenträger voll (/x)"));
}

TEST(Files, ProgramDirectoryHoldsTheRunningExecutable) {
    const std::string dir = ProgramDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_NE(dir.back(), '/');
    EXPECT_TRUE(FileExists(Join(dir, "core_tests")));
    EXPECT_EQ(Join("/", "a.gdt"), "/a.gdt");
    EXPECT_EQ(Join("/x/", "a.gdt"), "/x/a.gdt");
    EXPECT_EQ(Join("", "a.gdt"), "/a.gdt");
}

// A program folder is used as itself, whatever its name: one Windows-1252 holds
// keeps its name, one it cannot hold ("Łódź", or bytes that are no UTF-8) is
// never turned into another folder's name.
TEST(Files, ProgramFolderOutsideWindows1252IsReachedAsItself) {
    TempDir tmp;
    const struct {
        const char* native;
        bool keepsItsName;
    } rows[] = {{"K\xC3\xB6ln", true},
                {"\xC5\x81\xC3\xB3"
                 "d\xC5\xBA",
                 false},
                {"Latin1-\xFC", false}};
    for (const auto& row : rows) {
        const std::string native = tmp.path() + "/" + row.native;
        ASSERT_EQ(::mkdir(native.c_str(), 0755), 0) << row.native;
        const std::string dir = AnsiDirectory(native);
        EXPECT_EQ(dir == AnsiPath(native), row.keepsItsName) << row.native;
        ReplaceWholeFile(Join(dir, "GDTcount.txt"), "7");
        EXPECT_EQ(Slurp(native + "/GDTcount.txt"), "7") << row.native;
        EXPECT_EQ(ReadWholeFile(Join(dir, "GDTcount.txt")), "7") << row.native;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tmp.path()), {}), 3);
}

TEST(Files, ExistenceTellsFilesAndDirectoriesApart) {
    TempDir tmp;
    Spit(tmp.File("f"), "x");
    EXPECT_TRUE(FileExists(tmp.File("f")));
    EXPECT_FALSE(FileExists(tmp.path()));
    EXPECT_FALSE(FileExists(tmp.File("missing")));
    EXPECT_FALSE(FileExists(""));
    EXPECT_TRUE(DirectoryExists(tmp.path()));
    EXPECT_FALSE(DirectoryExists(tmp.File("f")));
    EXPECT_FALSE(DirectoryExists(""));
}

TEST(Files, PathsAreWindows1252OnTheWayIn) {
    TempDir tmp;
    const std::string ansi = tmp.path() + "/" + platform::cp1252::Ansi("Röntgen.gdt");
    WriteWholeFile(ansi, "abc");
    EXPECT_EQ(Slurp(tmp.path() + "/Röntgen.gdt"), "abc");
    EXPECT_EQ(ReadWholeFile(ansi), "abc");
    EXPECT_EQ(ListFiles(tmp.path()),
              std::vector<std::string>{platform::cp1252::Ansi("Röntgen.gdt")});
}

TEST(Files, WholeFileReadAndWriteKeepEveryByte) {
    TempDir tmp;
    std::string bytes;
    for (int i = 0; i < 200000; ++i)
        bytes += static_cast<char>(i * 7);
    WriteWholeFile(tmp.File("big"), bytes);
    EXPECT_EQ(ReadWholeFile(tmp.File("big")), bytes);

    WriteWholeFile(tmp.File("big"), "short"); // replaced whole, no old tail
    EXPECT_EQ(Slurp(tmp.File("big")), "short");
    WriteWholeFile(tmp.File("empty"), "");
    EXPECT_EQ(ReadWholeFile(tmp.File("empty")), "");
}

TEST(Files, FailuresCarryNumberAndDescription) {
    TempDir tmp;
    EXPECT_EQ(NumberOf([&] { ReadWholeFile(tmp.File("missing")); }), 53);
    EXPECT_NE(NumberOf([&] { ReadWholeFile(tmp.path()); }), 0);
    EXPECT_NE(NumberOf([&] { WriteWholeFile(tmp.path(), "x"); }), 0);
    EXPECT_EQ(NumberOf([&] { WriteWholeFile(tmp.File("no/such/dir"), "x"); }), 53);
    Spit(tmp.File("ro"), "keep");
    ASSERT_EQ(::chmod(tmp.File("ro").c_str(), 0444), 0);
    EXPECT_EQ(NumberOf([&] { WriteWholeFile(tmp.File("ro"), "x"); }), 70);
    EXPECT_EQ(NumberOf([&] { ReplaceWholeFile(tmp.File("ro"), "x"); }), 70);
    EXPECT_EQ(Slurp(tmp.File("ro")), "keep");
    // A disk that fills up after the first byte: the short write is a failure.
    {
        const test::FileSizeLimit limit(1);
        ASSERT_TRUE(limit.active());
        EXPECT_EQ(NumberOf([&] { WriteWholeFile(tmp.File("full"), "xy"); }), 61);
    }
    // A device at the name is neither written nor removed.
    if (::mknod(tmp.File("null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0) {
        EXPECT_EQ(NumberOf([&] { WriteWholeFile(tmp.File("null"), "x"); }), 75);
        EXPECT_TRUE(std::filesystem::is_character_file(tmp.File("null")));
    }
}

TEST(Files, RenameNeverReplacesAnExistingFile) {
    TempDir tmp;
    Spit(tmp.File("a.zzz"), "new");
    Spit(tmp.File("a.gdt"), "collected later");
    EXPECT_EQ(NumberOf([&] { RenameNoReplace(tmp.File("a.zzz"), tmp.File("a.gdt")); }), 58);
    EXPECT_EQ(Slurp(tmp.File("a.gdt")), "collected later");
    EXPECT_EQ(Slurp(tmp.File("a.zzz")), "new");

    Spit(tmp.File("b.zzz"), "content");
    RenameNoReplace(tmp.File("b.zzz"), tmp.File("b.gdt"));
    EXPECT_FALSE(FileExists(tmp.File("b.zzz")));
    EXPECT_EQ(Slurp(tmp.File("b.gdt")), "content");
    EXPECT_EQ(NumberOf([&] { RenameNoReplace(tmp.File("b.zzz"), tmp.File("c.gdt")); }), 53);
}

// Runs f in a child process that holds no more rights than an ordinary user, so
// that folder permissions apply even when the tests run as root. The child's exit
// status is f's result; -1 when the rights cannot be given up.
int AsOrdinaryUser(const std::function<int()>& f) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(255);
        ::_exit(f());
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) == 255)
        return -1;
    return WEXITSTATUS(status);
}

// A target folder set up as a drop box (writable, not listable): the rename and
// the delete take place, so they must not be reported as failed. A failure there
// would keep the request beside its delivered .gdt and invite a second order.
TEST(Files, RenameAndDeleteInAFolderThatMayNotBeListedSucceed) {
    TempDir tmp;
    const std::string drop = tmp.File("drop");
    ASSERT_EQ(::mkdir(drop.c_str(), 0755), 0);
    Spit(drop + "/001.7.zzz", "result");
    Spit(drop + "/request.gdt", "request");
    ASSERT_EQ(::chmod(drop.c_str(), 0333), 0);
    ASSERT_EQ(::chmod(tmp.path().c_str(), 0711), 0);
    const int renamed = AsOrdinaryUser([&] {
        return NumberOf([&] { RenameNoReplace(drop + "/001.7.zzz", drop + "/001.7.gdt"); });
    });
    const int deleted =
        AsOrdinaryUser([&] { return NumberOf([&] { RemoveFile(drop + "/request.gdt"); }); });
    ASSERT_EQ(::chmod(drop.c_str(), 0755), 0);
    if (renamed < 0 || deleted < 0)
        GTEST_SKIP() << "cannot run as an ordinary user here";
    EXPECT_EQ(renamed, 0);
    EXPECT_EQ(Slurp(drop + "/001.7.gdt"), "result");
    EXPECT_EQ(deleted, 0);
    EXPECT_FALSE(std::filesystem::exists(drop + "/request.gdt"));
}

TEST(Files, DeleteRemovesReadOnlyFilesAndFailsOnMissingOnes) {
    TempDir tmp;
    Spit(tmp.File("req.gdt"), "x");
    ASSERT_EQ(::chmod(tmp.File("req.gdt").c_str(), 0444), 0);
    RemoveFile(tmp.File("req.gdt"));
    EXPECT_FALSE(std::filesystem::exists(tmp.File("req.gdt")));
    EXPECT_EQ(NumberOf([&] { RemoveFile(tmp.File("req.gdt")); }), 53);
    EXPECT_NE(NumberOf([&] { RemoveFile(tmp.path()); }), 0);
    EXPECT_TRUE(DirectoryExists(tmp.path()));
}

TEST(Files, ListFilesNamesRegularFilesOnly) {
    TempDir tmp;
    Spit(tmp.File("one.gdt"), "");
    Spit(tmp.File("two.txt"), "");
    std::filesystem::create_directory(tmp.File("sub.gdt"));
    std::filesystem::create_symlink(tmp.File("one.gdt"), tmp.File("link.gdt"));
    std::vector<std::string> names = ListFiles(tmp.path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"link.gdt", "one.gdt", "two.txt"}));
    EXPECT_EQ(NumberOf([&] { ListFiles(tmp.File("missing")); }), 53);
}

// Whatever is put where a file is read, only a regular file is read, and
// nothing waits: a pipe without a writer would otherwise hold the program up
// for ever. A link to a regular file is read like the file.
TEST(Files, ReadsOnlyRegularFilesAndNeverWaits) {
    TempDir tmp;
    Spit(tmp.File("real"), "abc");
    std::filesystem::create_symlink(tmp.File("real"), tmp.File("link"));
    ASSERT_EQ(::mkfifo(tmp.File("pipe").c_str(), 0666), 0);
    std::filesystem::create_symlink("/dev/zero", tmp.File("device"));
    const struct {
        const char* name;
        int number; // 0: read as "abc"
    } cases[] = {{"real", 0}, {"link", 0}, {"pipe", 75}, {"device", 75}, {"", 75}};
    for (const auto& c : cases) {
        const std::string path = c.name[0] != '\0' ? tmp.File(c.name) : tmp.path();
        std::string read;
        EXPECT_EQ(NumberOf([&] { read = ReadWholeFile(path); }), c.number) << c.name;
        bool same = false;
        EXPECT_EQ(NumberOf([&] { same = FileHoldsExactly(path, "abc"); }), c.number) << c.name;
        if (c.number == 0) {
            EXPECT_EQ(read, "abc");
            EXPECT_TRUE(same);
        }
    }
    // The limit is checked before anything is read.
    EXPECT_EQ(ReadWholeFile(tmp.File("real"), 3), "abc");
    EXPECT_THROW(ReadWholeFile(tmp.File("real"), 2), FileTooLarge);
    // Compared piece by piece: a difference past the first piece still counts.
    std::string big(300000, 'x');
    Spit(tmp.File("big"), big);
    EXPECT_TRUE(FileHoldsExactly(tmp.File("big"), big));
    EXPECT_FALSE(FileHoldsExactly(tmp.File("big"), big.substr(1) + "y"));
    EXPECT_FALSE(FileHoldsExactly(tmp.File("big"), big + "x"));
}

// Replacing keeps what the file is: its owner, group and mode, and a link
// stays a link to the file that now holds the new bytes. Temporary files of an
// interrupted replacement go; names that merely look alike stay.
TEST(Files, ReplaceKeepsOwnerModeAndLinkAndClearsLeftovers) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a file to another owner needs root";
    TempDir tmp;
    std::filesystem::create_directory(tmp.File("real"));
    const std::string target = tmp.File("real/Settings.ini");
    Spit(target, "old");
    ASSERT_EQ(::chown(target.c_str(), 1234, 5678), 0);
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    std::filesystem::create_symlink("real/Settings.ini", tmp.File("Settings.ini"));
    for (const char* name :
         {"Settings.ini.Ab3xQ9", "Settings.ini.backup", "Settings.ini.Ab3xQ", "Other.ini.Ab3xQ9"})
        Spit(tmp.File("real/") + name, "x");
    std::filesystem::create_directory(tmp.File("real/Settings.ini.Zz9Zz9"));

    ReplaceWholeFile(tmp.File("Settings.ini"), "new");
    EXPECT_TRUE(std::filesystem::is_symlink(tmp.File("Settings.ini")));
    EXPECT_EQ(Slurp(target), "new");
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 1234u);
    EXPECT_EQ(st.st_gid, 5678u);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    std::vector<std::string> names = ListFiles(tmp.File("real"));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Other.ini.Ab3xQ9", "Settings.ini",
                                               "Settings.ini.Ab3xQ", "Settings.ini.backup"}));
    EXPECT_TRUE(std::filesystem::is_directory(tmp.File("real/Settings.ini.Zz9Zz9")));
}

// A program folder locked down around files that are opened up: the files are
// rewritten where they are. So is a file of another owner, which a
// replacement would take over. A file the user may not write stays refused.
TEST(Files, ReplaceWritesInPlaceWhereOnlyTheFileMayBeWritten) {
    TempDir tmp;
    ASSERT_EQ(::chmod(tmp.path().c_str(), 0755), 0);
    const struct {
        const char* what;
        mode_t folder;
        mode_t file;
        int number;
    } cases[] = {{"closed folder, open file", 0555, 0666, 0},
                 {"open folder, another owner's open file", 0777, 0666, 0},
                 {"closed folder, closed file", 0555, 0644, 70}};
    int n = 0;
    for (const auto& c : cases) {
        const std::string dir = tmp.File(std::to_string(++n));
        ASSERT_EQ(::mkdir(dir.c_str(), 0755), 0);
        const std::string file = dir + "/GDTcount.txt";
        Spit(file, "32766");
        ASSERT_EQ(::chmod(file.c_str(), c.file), 0);
        ASSERT_EQ(::chmod(dir.c_str(), c.folder), 0);
        struct stat before {};
        ASSERT_EQ(::stat(file.c_str(), &before), 0);
        const int number =
            AsOrdinaryUser([&] { return NumberOf([&] { ReplaceWholeFile(file, "7"); }); });
        if (number < 0)
            GTEST_SKIP() << "cannot run as an ordinary user here";
        EXPECT_EQ(number, c.number) << c.what;
        struct stat after {};
        ASSERT_EQ(::stat(file.c_str(), &after), 0);
        EXPECT_EQ(Slurp(file), c.number == 0 ? "7" : "32766") << c.what;
        EXPECT_EQ(after.st_ino, before.st_ino) << c.what;
        EXPECT_EQ(after.st_uid, before.st_uid) << c.what;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1) << c.what;
    }
}

// Once the file is gone the delete is done, even when its folder cannot be
// synced afterwards (here: no descriptor left to open it with).
TEST(Files, DeleteIsDoneOnceTheFileIsGone) {
#if defined(__SANITIZE_ADDRESS__)
    // Without a free descriptor the sanitizer cannot check the thrown error's
    // memory (it probes through a pipe) and reports the exception as corrupt.
    GTEST_SKIP() << "the sanitizer needs a free file descriptor that this test takes away";
#endif
    TempDir tmp;
    Spit(tmp.File("request.gdt"), "x");
    const int lowest = ::dup(0);
    ASSERT_GE(lowest, 0);
    ::close(lowest);
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &old), 0);
    rlimit none = old;
    none.rlim_cur = static_cast<rlim_t>(lowest);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &none), 0);
    const int number = NumberOf([&] { RemoveFile(tmp.File("request.gdt")); });
    ::setrlimit(RLIMIT_NOFILE, &old);
    EXPECT_EQ(number, 0);
    EXPECT_FALSE(std::filesystem::exists(tmp.File("request.gdt")));
}

} // namespace
} // namespace tessaro::platform

namespace tessaro::platform {
namespace {

// A file the run made itself: never made over someone else's name, never a
// different file moved in its place, never someone else's removed.
TEST(Files, OwnFileMovesAndRemovesOnlyItself) {
    TempDir tmp;
    Spit(tmp.File("taken.zzz"), "theirs");
    EXPECT_EQ(NumberOf([&] { OwnFile f(tmp.File("taken.zzz")); }), 58);
    EXPECT_EQ(Slurp(tmp.File("taken.zzz")), "theirs");

    OwnFile ours(tmp.File("a.zzz"));
    ours.Write({"req", "line"});
    // Someone puts a file of his own under the name meanwhile.
    Spit(tmp.File("other"), "other");
    std::filesystem::rename(tmp.File("other"), tmp.File("a.zzz"));
    EXPECT_EQ(NumberOf([&] { ours.RenameNoReplace(tmp.File("a.gdt")); }), 75);
    EXPECT_FALSE(std::filesystem::exists(tmp.File("a.gdt")));
    ours.Remove();
    EXPECT_EQ(Slurp(tmp.File("a.zzz")), "other");

    OwnFile mine(tmp.File("b.zzz"));
    mine.Write({"bytes"});
    Spit(tmp.File("b.gdt"), "older");
    EXPECT_EQ(NumberOf([&] { mine.RenameNoReplace(tmp.File("b.gdt")); }), 58);
    std::filesystem::remove(tmp.File("b.gdt"));
    mine.RenameNoReplace(tmp.File("b.gdt"));
    EXPECT_EQ(Slurp(tmp.File("b.gdt")), "bytes");
    EXPECT_FALSE(std::filesystem::exists(tmp.File("b.zzz")));
}

TEST(Files, LinksOfAnotherAccountAreForeign) {
    TempDir tmp;
    Spit(tmp.File("file"), "x");
    std::filesystem::create_symlink(tmp.File("file"), tmp.File("own"));
    std::filesystem::create_symlink(tmp.File("file"), tmp.File("planted"));
    std::filesystem::create_symlink(tmp.File("planted"), tmp.File("via"));
    const bool canGiveAway = ::lchown(tmp.File("planted").c_str(), 65534, 65534) == 0;
    const struct {
        const char* name;
        bool foreign;
    } rows[] = {{"file", false},
                {"missing", false},
                {"own", false},
                {"planted", canGiveAway},
                {"via", canGiveAway}};
    for (const auto& r : rows)
        EXPECT_EQ(IsForeignLink(tmp.File(r.name)), r.foreign) << r.name;
    EXPECT_EQ(FolderOf("/a/b.gdt"), "/a");
    EXPECT_EQ(FolderOf("/b.gdt"), "/");
    EXPECT_EQ(FolderOf("b.gdt"), "");
    EXPECT_EQ(NameOf("/a/b.gdt"), "b.gdt");
    EXPECT_FALSE(HostName().empty());
    if (!canGiveAway)
        GTEST_SKIP() << "only root can give a link to another account";
}

} // namespace
} // namespace tessaro::platform
