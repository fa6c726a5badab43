// What the kernel is asked when the counter and Settings.ini are rewritten,
// read from strace: each new file is synced before it replaces the old one,
// and the folder after, so that a power cut leaves the old or the new content
// and never an empty file.
#include "config/settings_store.h"
#include "gdt/sequence_counter.h"
#include "platform/profile.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <unistd.h>

namespace tessaro {
namespace {

// Run under strace by the test below, in a process of its own.
TEST(DurabilityTrace, DISABLED_Rewrite) {
    const char* dir = std::getenv("TESSARO_TRACE_DIR");
    if (dir == nullptr)
        GTEST_SKIP();
    EXPECT_EQ(gdt::NextSequenceNumber(dir).problem, gdt::DrawnNumber::Problem::None);
    platform::WriteProfileString("GDT", "PathD", "/neu", config::IniPath(dir));
}

TEST(DurabilityTrace, CounterAndSettingsAreSyncedBeforeTheyReplaceTheOld) {
    if (std::system("strace -V >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "strace is not installed (Debian package strace)";
    test::TempDir tmp;
    const std::string dir = tmp.File("prog");
    std::filesystem::create_directory(dir);
    test::Spit(config::IniPath(dir), "[GDT]\r\nPathD=/alt\r\n");
    test::Spit(tmp.File("prog/GDTcount.txt"), "41");
    const std::string trace = tmp.File("trace");
    char self[4096] = {};
    ASSERT_GT(::readlink("/proc/self/exe", self, sizeof self - 1), 0);
    // LeakSanitizer cannot work under ptrace; the sanitizer build checks leaks elsewhere.
    const std::string command = "ASAN_OPTIONS=detect_leaks=0 TESSARO_TRACE_DIR='" + dir +
                                "' strace -f -qq -y -s 4096 -o '" + trace +
                                "' -e trace=fsync,fdatasync,rename,renameat,renameat2 '" + self +
                                "' --gtest_also_run_disabled_tests "
                                "--gtest_filter=DurabilityTrace.DISABLED_Rewrite >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    ASSERT_EQ(test::Slurp(tmp.File("prog/GDTcount.txt")), "42");

    // fsync(3</path>) = 0 and rename("/from", "/to") = 0, as strace -y prints them.
    const std::regex sync(R"re(f(data)?sync\(\d+<([^>]*)>\) = 0)re");
    const std::regex rename(
        R"re(rename(at2?)?\((?:AT_FDCWD, )?"([^"]*)", (?:AT_FDCWD, )?"([^"]*)")re");
    std::set<std::string> synced;
    std::vector<std::string> replaced;
    std::string pendingFolderSync;
    std::ifstream lines(trace);
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (std::regex_search(line, m, sync)) {
            synced.insert(m[2]);
            if (m[2] == pendingFolderSync)
                pendingFolderSync.clear();
        } else if (std::regex_search(line, m, rename)) {
            EXPECT_TRUE(synced.count(m[2]) == 1) << m[2] << " renamed unsynced: " << line;
            EXPECT_TRUE(pendingFolderSync.empty()) << "folder not synced before: " << line;
            replaced.push_back(m[3]);
            pendingFolderSync = dir;
        }
    }
    EXPECT_TRUE(pendingFolderSync.empty()) << "folder not synced after the last rename";
    EXPECT_EQ(replaced, (std::vector<std::string>{dir + "/GDTcount.txt", dir + "/Settings.ini"}));
}

} // namespace
} // namespace tessaro
