#include "platform/instance_lock.h"
#include "support/temp_dir.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
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

TEST(InstanceLock, LockFileLivesOutsideTheProgramDirectory) {
    test::TempDir program;
    platform::InstanceLock lock(program.path());
    EXPECT_TRUE(std::filesystem::is_empty(program.path()));
    EXPECT_NE(platform::InstanceLock::LockFilePath(program.path()).rfind(program.path(), 0), 0u);
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
