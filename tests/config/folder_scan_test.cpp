// Finding the request file in a chosen source folder, without the settings window.
#include "config/folder_scan.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tessaro {
namespace {

TEST(FolderScan, NameMatchesWhenItsUpperCaseHoldsDotAndSuffix) {
    const struct {
        const char* name;
        const char* suffix;
        bool matches;
    } kCases[] = {
        {"anfrage.gdt", "GDT", true},  {"ANFRAGE.GDT", "GDT", true},
        {"a.gdt.bak", "GDT", true},    {"agdt", "GDT", false},
        {"anfrage.txt", "GDT", false}, {"x.\xE4nd", "\xC4ND", true}, // ä upper-cases to Ä
        {"anfrage.gdt", "", true},     {"anfrage", "", false},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(config::NameMatchesSuffix(c.name, c.suffix), c.matches)
            << c.name << " / " << c.suffix;
}

TEST(FolderScan, FindsTheMatchingFileAndStopsWhenAsked) {
    test::TempDir dir;
    test::Spit(dir.File("liste.txt"), "x");
    test::Spit(dir.File("anfrage.Gdt"), "x");
    int looked = 0;
    EXPECT_EQ(config::FindRequestFile(dir.path(), "GDT", [&] { return ++looked > 0; }),
              "anfrage.Gdt");
    EXPECT_GE(looked, 1);

    looked = 0;
    EXPECT_EQ(config::FindRequestFile(dir.path(), "GDT", [&] { return ++looked < 0; }),
              std::nullopt);
    EXPECT_EQ(looked, 1); // asked before the first file, then no more
    EXPECT_EQ(config::FindRequestFile(dir.path(), "XYZ", [] { return true; }), std::nullopt);
    EXPECT_EQ(config::FindRequestFile(dir.File("fehlt"), "GDT", [] { return true; }), std::nullopt);
}

} // namespace
} // namespace tessaro
