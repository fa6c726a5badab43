#include "selection/composer.h"

#include <gtest/gtest.h>

namespace tessaro::selection {
namespace {

class Composer : public ::testing::Test {
protected:
    void Hand(int button, int modifiers = 0) {
        ManualPress(sel, lit, 0, button, modifiers, "Hand", "HA*");
    }
    void Thorax(int button, int modifiers = 0) {
        ManualPress(sel, lit, 1, button, modifiers, "Thorax", "TH");
    }
    std::vector<int> Lit() const {
        std::vector<int> on;
        for (std::size_t i = 0; i < lit.size(); ++i)
            if (lit[i])
                on.push_back(static_cast<int>(i));
        return on;
    }

    Selection sel;
    std::vector<bool> lit = std::vector<bool>(66, false);
};

TEST_F(Composer, WorkedExample) {
    Hand(kRight);
    EXPECT_EQ(sel.text, "Hand re.");
    EXPECT_EQ(sel.code, "HA re.");
    EXPECT_EQ(Lit(), std::vector<int>({0}));

    Thorax(kLeft, kShift);
    EXPECT_EQ(sel.text, "Hand re. + Thorax");
    EXPECT_EQ(sel.code, "HA re. + TH");
    EXPECT_EQ(Lit(), std::vector<int>({0, 1}));

    Thorax(kLeft);
    EXPECT_EQ(sel.text, "Thorax");
    EXPECT_EQ(sel.code, "TH");
    EXPECT_EQ(Lit(), std::vector<int>({1}));
}

TEST_F(Composer, CataloguePressActsOnTheLeftButtonOnly) {
    sel = {"old", "OLD"};
    CataloguePress(sel, kRight, "LWS in 2 Eb.", "LW2E ");
    CataloguePress(sel, kMiddle, "LWS in 2 Eb.", "LW2E ");
    EXPECT_EQ(sel.text, "old");
    EXPECT_EQ(sel.code, "OLD");
    CataloguePress(sel, kLeft, "LWS in 2 Eb.", "LW2E ");
    EXPECT_EQ(sel.text, "LWS in 2 Eb.");
    EXPECT_EQ(sel.code, "LW2E ");
    // The code stays verbatim even when it ends in "*": catalogue entries take no side.
    CataloguePress(sel, kLeft, "X", "X*");
    EXPECT_EQ(sel.code, "X*");
}

TEST_F(Composer, ModifiedPressesAppendWithoutLeadingJoin) {
    Thorax(kLeft, kCtrl);
    EXPECT_EQ(sel.text, "Thorax");
    EXPECT_EQ(sel.code, "TH");
    Thorax(kRight, kAlt);
    EXPECT_EQ(sel.text, "Thorax + Thorax");
    EXPECT_EQ(sel.code, "TH + TH");
    EXPECT_EQ(Lit(), std::vector<int>({1}));

    // Text emptied by hand while the code stays: only the code gets a join.
    sel.text.clear();
    ManualPress(sel, lit, 2, kLeft, kShift, "Knie", "KN");
    EXPECT_EQ(sel.text, "Knie");
    EXPECT_EQ(sel.code, "TH + TH + KN");
    EXPECT_EQ(Lit(), std::vector<int>({1, 2}));
}

TEST_F(Composer, MiddleButtonLeavesTheSideOpenUntilASidedPress) {
    Hand(kMiddle);
    EXPECT_EQ(sel.text, "Hand");
    EXPECT_EQ(sel.code, "HA*");
    EXPECT_EQ(Lit(), std::vector<int>({0}));

    Hand(kLeft, kShift); // every "*" takes this press's side
    EXPECT_EQ(sel.text, "Hand + Hand li.");
    EXPECT_EQ(sel.code, "HA li. + HA li.");
}

TEST_F(Composer, OnlyATrailingStarAsksForASide) {
    ManualPress(sel, lit, 3, kRight, 0, "Fuss", "F*S");
    EXPECT_EQ(sel.text, "Fuss");
    EXPECT_EQ(sel.code, "F*S");
    // A press whose code ends in "*" also replaces a "*" of an earlier part.
    ManualPress(sel, lit, 0, kRight, kShift, "Hand", "HA*");
    EXPECT_EQ(sel.code, "F re.S + HA re.");
    EXPECT_EQ(sel.text, "Fuss + Hand re.");
}

TEST_F(Composer, PlainPressAfterAMultiPartSelectionReplacesEverything) {
    Hand(kLeft);
    Thorax(kLeft, kShift);
    ManualPress(sel, lit, 65, kLeft, 0, "", "");
    EXPECT_EQ(sel.text, "");
    EXPECT_EQ(sel.code, "");
    EXPECT_EQ(Lit(), std::vector<int>({65}));
}

} // namespace
} // namespace tessaro::selection
