#include "platform/instance_lock.h"
#include "support/temp_dir.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tessaro {
namespace {

TEST(InstanceLock, SecondInstanceOfTheSameDirectoryIsRefusedUntilTheFirstEnds) {
    test::TempDir program;
    {
        platform::InstanceLock first(program.path());
        ASSERT_FALSE(first.AnotherInstanceRunning());
        platform::InstanceLock second(program.path());
        EXPECT_TRUE(second.AnotherInstanceRunning());

        test::TempDir other;
        platform::InstanceLock elsewhere(other.path());
        EXPECT_FALSE(elsewhere.AnotherInstanceRunning());
    }
    platform::InstanceLock again(program.path());
    EXPECT_FALSE(again.AnotherInstanceRunning());
}

// The lock belongs to the directory, not to the environment of whoever starts
// the program: a service without XDG_RUNTIME_DIR, a shell elsewhere, another
// user of the same installation all see it, and nothing is created for it.
TEST(InstanceLock, EveryStarterOfTheDirectorySeesTheLock) {
    struct Case {
        const char* what;
        std::function<bool()> setUp; // in the child; false when impossible here
    };
    const Case cases[] = {
        {"another runtime folder", [] { return ::setenv("XDG_RUNTIME_DIR", "/", 1) == 0; }},
        {"no runtime folder, another working directory and temp folder",
         [] {
             return ::unsetenv("XDG_RUNTIME_DIR") == 0 && ::chdir("/") == 0 &&
                    ::setenv("TMPDIR", "/var/tmp", 1) == 0;
         }},
        {"another user",
         [] { return ::geteuid() != 0 || (::setgid(65534) == 0 && ::setuid(65534) == 0); }},
    };
    test::TempDir program;
    ASSERT_EQ(::chmod(program.path().c_str(), 0755), 0);
    platform::InstanceLock first(program.path());
    ASSERT_TRUE(first.Held());
    // A shared installation: every operator may write the program's files.
    ASSERT_EQ(::chmod(program.File(platform::kLockFileName).c_str(), 0666), 0);
    for (const Case& c : cases) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (!c.setUp())
                ::_exit(3);
            ::_exit(platform::InstanceLock(program.path()).AnotherInstanceRunning() ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << c.what;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(program.path()), {}), 1);
}

// What another account can do, from a process of its own that holds on to
// whatever it got. The lock file may be opened only by those who may write it;
// a lock nobody can have is said, never run without.
TEST(InstanceLock, AnotherAccountCanNeitherHoldNorDodgeTheLock) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another account";
    enum class Outcome { Held, Another, Refused };
    struct Case {
        const char* what;
        mode_t folderMode;
        int lockFileMode; // -1: no lock file yet
        // In the other account's process: what it does, true when it holds on.
        std::function<void(const std::string& dir)> stranger;
        Outcome ours;
    };
    const auto readLockOnFile = [](const std::string& dir) {
        const int fd = ::open((dir + "/" + platform::kLockFileName).c_str(), O_RDONLY);
        struct flock lock {};
        lock.l_type = F_RDLCK;
        lock.l_whence = SEEK_SET;
        if (fd >= 0)
            (void)::fcntl(fd, F_OFD_SETLK, &lock);
        (void)::flock(fd, LOCK_EX | LOCK_NB);
    };
    const auto flockOnFolder = [](const std::string& dir) {
        (void)::flock(::open(dir.c_str(), O_RDONLY | O_DIRECTORY), LOCK_EX | LOCK_NB);
    };
    const Case cases[] = {
        {"a lock on the folder, as the old lock was", 0755, -1, flockOnFolder, Outcome::Held},
        {"a read lock on a lock file it may not open", 0755, 0600, readLockOnFile, Outcome::Held},
        {"a read lock on a lock file someone made readable", 0755, 0644, readLockOnFile,
         Outcome::Refused},
    };
    for (const Case& c : cases) {
        test::TempDir program;
        ASSERT_EQ(::chmod(program.path().c_str(), c.folderMode), 0);
        const std::string lockFile = program.File(platform::kLockFileName);
        if (c.lockFileMode >= 0) {
            test::Spit(lockFile, "");
            ASSERT_EQ(::chmod(lockFile.c_str(), static_cast<mode_t>(c.lockFileMode)), 0);
        }
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(3);
            c.stranger(program.path());
            (void)!::write(ready[1], "x", 1);
            ::pause();
            ::_exit(0);
        }
        char x = 0;
        ASSERT_EQ(::read(ready[0], &x, 1), 1);
        {
            platform::InstanceLock ours(program.path());
            const Outcome got = ours.Held()                     ? Outcome::Held
                                : ours.AnotherInstanceRunning() ? Outcome::Another
                                                                : Outcome::Refused;
            EXPECT_EQ(got, c.ours) << c.what;
            EXPECT_EQ(ours.Failure().empty(), got != Outcome::Refused) << c.what;
        }
        struct stat st {};
        ASSERT_EQ(::stat(lockFile.c_str(), &st), 0) << c.what;
        if (c.lockFileMode < 0) { // made by the program: readable only where writable
            EXPECT_EQ(st.st_mode & 0066, 0u) << c.what;
        }
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        ::close(ready[0]);
        ::close(ready[1]);
    }
}

// An operator's own start in a folder of the administrator's: the lock file
// is what he must be able to write, listing the folder is not needed; where he
// cannot, he is told so instead of running beside another instance.
TEST(InstanceLock, OperatorWithoutTheLockFileIsToldAndNeverRunsUnlocked) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another account";
    const struct {
        const char* what;
        mode_t folderMode;
        int lockFileMode; // -1: none there
        bool held;
    } cases[] = {
        {"folder he may not write, no lock file", 0755, -1, false},
        {"folder he may only enter, no lock file", 0711, -1, false},
        {"folder he may only enter, lock file he may write", 0711, 0666, true},
        {"lock file he may only read", 0755, 0644, false},
    };
    for (const auto& c : cases) {
        test::TempDir program;
        ASSERT_EQ(::chmod(program.path().c_str(), c.folderMode), 0);
        if (c.lockFileMode >= 0) {
            const std::string lockFile = program.File(platform::kLockFileName);
            test::Spit(lockFile, "");
            ASSERT_EQ(::chmod(lockFile.c_str(), static_cast<mode_t>(c.lockFileMode)), 0);
        }
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(3);
            platform::InstanceLock lock(program.path());
            const bool refused = !lock.Held() && !lock.AnotherInstanceRunning() &&
                                 lock.Failure().find(platform::kLockFileName) != std::string::npos;
            if (lock.Held()) {
                // The record of a commit goes into the lock file itself.
                lock.Write("commit");
                ::_exit(lock.Read() == std::string("commit") ? 0 : 4);
            }
            ::_exit(refused ? 1 : 2);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status)) << c.what;
        EXPECT_EQ(WEXITSTATUS(status), c.held ? 0 : 1) << c.what;
    }
}

// The record survives the end of its holder, and a write cut short, whether
// torn, lost or zeroed, reads as the record before it; an empty lock file of
// an earlier version holds none.
TEST(InstanceLock, ARecordWrittenHalfReadsAsTheOneBefore) {
    test::TempDir program;
    const std::string file = program.File(platform::kLockFileName);
    const std::size_t slot = 28 + platform::kMaxRecordBytes;
    const auto record = [&] {
        platform::InstanceLock lock(program.path());
        return lock.Read();
    };
    const auto write = [&](const std::string& bytes) {
        platform::InstanceLock lock(program.path());
        bytes.empty() ? lock.Clear() : lock.Write(bytes);
    };
    EXPECT_FALSE(record());
    write("one"); // slot 0
    write("two"); // slot 1
    EXPECT_EQ(record(), std::string("two"));
    const std::string whole = test::Slurp(file);
    const struct {
        const char* what;
        std::function<std::string()> cut; // the file after the cut
        std::optional<std::string> reads;
    } rows[] = {
        {"newest slot's last byte torn", [&] { return whole.substr(0, whole.size() - 1) + "x"; },
         "one"},
        {"newest slot half written", [&] { return whole.substr(0, slot + 20); }, "one"},
        {"newest slot zeroed",
         [&] { return whole.substr(0, slot) + std::string(whole.size() - slot, '\0'); }, "one"},
        {"both slots lost", [&] { return std::string(whole.size(), '\0'); }, std::nullopt},
        {"an earlier version's empty lock file", [] { return std::string(); }, std::nullopt},
    };
    for (const auto& r : rows) {
        test::Spit(file, r.cut());
        EXPECT_EQ(record(), r.reads) << r.what;
    }
    test::Spit(file, whole);
    write(""); // cleared: slot 0
    write("three");
    test::Spit(file, test::Slurp(file).substr(0, slot + 20)); // "three" torn
    EXPECT_FALSE(record()) << "the cleared record, not an older one";
}

} // namespace
} // namespace tessaro
