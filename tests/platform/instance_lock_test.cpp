#include "platform/instance_lock.h"
#include "support/temp_dir.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
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
    EXPECT_TRUE(std::filesystem::is_empty(program.path()));
}

TEST(InstanceLock, KernelReleasesTheLockOfADeadHolder) {
    test::TempDir program;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        platform::InstanceLock held(program.path());
        char c = held.AnotherInstanceRunning() ? 'n' : 'y';
        (void)!::write(ready[1], &c, 1);
        ::pause(); // killed below without any clean-up of its own
        ::_exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    EXPECT_EQ(c, 'y');
    EXPECT_TRUE(platform::InstanceLock(program.path()).AnotherInstanceRunning());
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_FALSE(platform::InstanceLock(program.path()).AnotherInstanceRunning());
}

} // namespace
} // namespace tessaro
