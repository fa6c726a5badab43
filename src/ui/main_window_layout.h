// The arrangement of the main window in twips, kept as tables: the entry row,
// the two examination panels with their frames and grids, OK and the status bar.
#pragma once

#include "ui/twips.h"

#include <array>
#include <span>

namespace tessaro::ui::layout {

// Client area below the menu bar, the status bar included.
inline constexpr int kClientWidth = 12315;
inline constexpr int kClientHeight = 12180;

inline constexpr double kWindowFontPt = 8.25;

struct FontSpec {
    double pointSize;
    bool bold;
};

// A control held directly by the window.
struct Control {
    const char* name;
    TwipsRect rect;
    FontSpec font;
};

inline constexpr FontSpec kLabelFont{14.25, true};
inline constexpr FontSpec kTextBoxFont{14.25, false};
inline constexpr FontSpec kOkFont{26.25, false};
inline constexpr FontSpec kStatusFont{9.75, true};
inline constexpr FontSpec kManualFont{9.75, true};
inline constexpr FontSpec kQuickFont{kWindowFontPt, false}; // bold when it has a code

struct Label {
    int index; // Label1(index)
    const char* caption;
    TwipsRect rect;
};

inline constexpr std::array<Label, 3> kLabels{{
    {2, "Modalität:", {135, 135, 1470, 345}},
    {0, "Körperteil:", {4365, 135, 1530, 345}},
    {1, "Kürzel:", {10530, 135, 1005, 345}},
}};

inline constexpr TwipsRect kTxtMod{135, 540, 3975, 465};
inline constexpr TwipsRect kTxtBpart{4320, 540, 6000, 465};
inline constexpr TwipsRect kTxtShort{10530, 540, 1635, 465};
inline constexpr TwipsRect kPicNoManual{135, 1080, 12165, 8025};
inline constexpr TwipsRect kPicManual{135, 1080, 12120, 9690};
inline constexpr TwipsRect kCmdOK{135, 10845, 12075, 915};
inline constexpr TwipsRect kStateBar{0, 11850, 12315, 330};

// One group of the quick-button panel: the frame inside picNoManual and the
// borderless button panel inside the frame that holds the buttons.
struct Group {
    int number; // 1..4, as in the catalogue
    const char* frameName;
    const char* caption;
    TwipsRect frame;
    const char* panelName;
    TwipsRect panel;
};

inline constexpr std::array<Group, 4> kGroups{{
    {1, "fraGroup(0)", "Gruppe 1", {0, 0, 3975, 3930}, "Picture1(0)", {45, 225, 3795, 3570}},
    {2, "fraGroup(1)", "Gruppe 2", {4230, 0, 7800, 3930}, "Picture2(0)", {90, 225, 7575, 3525}},
    {3, "fraGroup(2)", "Gruppe 3", {0, 4095, 3975, 3795}, "Picture(0)", {90, 225, 3795, 3525}},
    {4, "fraGroup(3)", "Gruppe 4", {4230, 4095, 7800, 3795}, "Picture1(1)", {90, 270, 6675, 3480}},
}};

// Vertical divider between the two pairs of columns of a wide group, inside
// its button panel; one pixel wide.
struct Divider {
    const char* name;
    int group;
    int x, top, bottom;
};

inline constexpr std::array<Divider, 2> kDividers{{
    {"Line1(0)", 2, 3780, 180, 3465},
    {"Line1(1)", 4, 3780, 90, 3375},
}};

// The user-defined buttons in picManual.
inline constexpr int kManualWidth = 1770;
inline constexpr int kManualHeight = 600;
inline constexpr std::array<int, 6> kManualColumns{0, 2070, 4095, 6165, 8190, 10260};
inline constexpr std::array<int, 11> kManualRowTops{90,   990,  1890, 2790, 3690, 4590,
                                                    5490, 6390, 7290, 8145, 9000};
// From this row on a row runs right to left: its lowest index stands at the right.
inline constexpr int kFirstReversedRow = 9;

// Position of cmdManual(index) inside picManual.
TwipsRect ManualButtonRect(int index);

// Status bar panels, numbered 1 to 3 from the left.
struct StatusPanel {
    int number;
    const char* initialText;
    int width;
    int minWidth;
};

inline constexpr std::array<StatusPanel, 3> kStatusPanels{{
    {1, "ID:", 4080, 1440},
    {2, "VN:", 4080, 1440},
    {3, "NN:", 4080, 1440},
}};

} // namespace tessaro::ui::layout
