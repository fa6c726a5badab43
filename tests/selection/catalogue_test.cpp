#include "platform/cp1252.h"
#include "selection/catalogue.h"

#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>

namespace tessaro::selection::catalogue {
namespace {

using platform::cp1252::Ansi;

TEST(Catalogue, EmptyCodesAreExactlyTheButtonsDisabledAtStart) {
    std::set<int> disabled;
    for (const Entry& e : Entries())
        if (!EnabledAtStart(e))
            disabled.insert(e.index);
    std::set<int> expected = {0, 8, 19, 21, 55, 56};
    for (int i = 35; i <= 44; ++i)
        expected.insert(i);
    for (int i = 47; i <= 53; ++i)
        expected.insert(i);
    EXPECT_EQ(disabled, expected);
}

TEST(Catalogue, FiftyThreeEntriesInFourGroups) {
    ASSERT_EQ(Entries().size(), 53u);
    std::set<int> indices;
    std::map<int, int> total;
    std::map<int, int> coded;
    for (const Entry& e : Entries()) {
        EXPECT_TRUE(indices.insert(e.index).second) << "duplicate " << e.index;
        EXPECT_LE(std::string(e.caption).size(), 19u) << e.index;
        EXPECT_LE(std::string(e.code).size(), 6u) << e.index;
        ++total[e.group];
        coded[e.group] += EnabledAtStart(e) ? 1 : 0;
    }
    for (int missing : {5, 10, 15, 20, 25})
        EXPECT_EQ(Find(missing), nullptr);
    EXPECT_EQ(*indices.rbegin(), kHighestIndex);
    EXPECT_EQ(total, (std::map<int, int>{{1, 10}, {2, 22}, {3, 12}, {4, 9}}));
    EXPECT_EQ(coded, (std::map<int, int>{{1, 8}, {2, 16}, {3, 4}, {4, 2}}));
}

TEST(Catalogue, CodesAreVerbatimWithTheirBlanks) {
    int withBlank = 0;
    for (const Entry& e : Entries())
        withBlank += std::string(e.code).find(' ') != std::string::npos ? 1 : 0;
    EXPECT_EQ(withBlank, 3);
    EXPECT_STREQ(Find(3)->code, "LW2E ");
    EXPECT_STREQ(Find(4)->code, "LWS ");
    EXPECT_STREQ(Find(14)->code, "ER2E ");
    EXPECT_STREQ(Find(16)->code, "EL2E");
    EXPECT_STREQ(Find(54)->code, "TH2E");
}

TEST(Catalogue, CaptionsAreWindows1252) {
    EXPECT_EQ(Find(0)->caption, Ansi("BÜ"));
    EXPECT_EQ(Find(1)->caption, Ansi("re. Hü. axial"));
    EXPECT_EQ(Find(4)->caption, Ansi("LWS schräg"));
    EXPECT_EQ(Find(43)->caption, Ansi("re. Fü. in 2 Eb."));
    EXPECT_EQ(Find(51)->caption, Ansi("Steißb."));
    EXPECT_EQ(Find(53)->caption, std::string("li. Scap"));
    EXPECT_EQ(Find(47)->caption, std::string("s.K.K."));
    const Entry* skull = Find(57);
    EXPECT_EQ(skull->caption, Ansi("Schädel a.p."));
    EXPECT_STREQ(skull->code, "SCHAP");
    EXPECT_EQ(skull->group, 4);
    EXPECT_EQ(skull->left, 4005);
    EXPECT_EQ(skull->top, 90);
}

TEST(Catalogue, SidedPairsShareARowLeftSideInTheLeftColumn) {
    int pairs = 0;
    for (const Entry& right : Entries()) {
        const std::string caption = right.caption;
        if (caption.rfind("re. ", 0) != 0)
            continue;
        for (const Entry& left : Entries()) {
            if (std::string(left.caption) != "li. " + caption.substr(4))
                continue;
            ++pairs;
            EXPECT_EQ(left.group, right.group) << caption;
            EXPECT_EQ(left.top, right.top) << caption;
            EXPECT_LT(left.left, right.left) << caption;
        }
    }
    EXPECT_EQ(pairs, 20);
}

} // namespace
} // namespace tessaro::selection::catalogue
