#include "platform/codec.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tessaro::platform {
namespace {

using test::Slurp;
using test::Spit;
using test::TempDir;

int NumberOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const platform::PlatformError& e) {
        return e.Number();
    }
    return 0;
}

TEST(Errors, GermanDescriptionsFromOneTable) {
    EXPECT_EQ(platform::DescribeError(platform::ErrorNumber::FileNotFound), platform::cp1252::Ansi("Datei nicht gefunden"));
    EXPECT_EQ(platform::DescribeError(platform::ErrorNumber::PermissionDenied), platform::cp1252::Ansi("Zugriff verweigert"));
    EXPECT_EQ(platform::DescribeError(platform::ErrorNumber::FileExists), platform::cp1252::Ansi("Datei existiert bereits"));
    EXPECT_EQ(platform::DescribeError(platform::ErrorNumber::DiskFull), platform::cp1252::Ansi("Datenträger voll"));
    EXPECT_EQ(platform::DescribeError(platform::ErrorNumber::Overflow), platform::cp1252::Ansi("Überlauf"));
    EXPECT_EQ(platform::DescribeError(platform::ErrorNumber::TypeMismatch), platform::cp1252::Ansi("Typen unverträglich"));
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
    EXPECT_EQ(ListFiles(tmp.path()), std::vector<std::string>{platform::cp1252::Ansi("Röntgen.gdt")});
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
    // A device that takes the open but refuses every byte: the short write is a failure.
    EXPECT_EQ(NumberOf([] { WriteWholeFile("/dev/full", "x"); }), 61);
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
        AsOrdinaryUser([&] { return NumberOf([&] { DeleteFile(drop + "/request.gdt"); }); });
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
    DeleteFile(tmp.File("req.gdt"));
    EXPECT_FALSE(std::filesystem::exists(tmp.File("req.gdt")));
    EXPECT_EQ(NumberOf([&] { DeleteFile(tmp.File("req.gdt")); }), 53);
    EXPECT_NE(NumberOf([&] { DeleteFile(tmp.path()); }), 0);
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

} // namespace
} // namespace tessaro::platform
