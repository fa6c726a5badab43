#include "selection/catalogue.h"

namespace tessaro::selection::catalogue {
namespace {

// index, group, caption (Windows-1252), code (verbatim, trailing blanks kept),
// left, top (twips inside the group's button panel). An empty code means the
// button is shown but cannot be chosen.
constexpr Entry kEntries[] = {
    {0, 1, "B\xDC", "", 90, 135},
    {1, 1, "re. H\xFC. axial", "HGRAX", 1935, 720},
    {2, 1, "li. H\xFC. axial", "HGLAX", 90, 720},
    {3, 1, "LWS in 2 Eb.", "LW2E ", 90, 1305},
    {4, 1, "LWS schr\xE4g", "LWS ", 1935, 1305},
    {6, 1, "BWS in 2 Eb.", "BW2E", 90, 1890},
    {7, 1, "HWS in 2 Eb.", "HW2E", 1935, 1890},
    {8, 1, "HWS schr\xE4g", "", 90, 2475},
    {9, 1, "HWS Inkl.", "HWIN", 1935, 2475},
    {11, 1, "HWS Rekl.", "HWRE", 90, 3060},
    {12, 2, "re. Schu. in 2 Eb.", "SGR2E", 1935, 135},
    {13, 2, "li. Schu. in 2 Eb.", "SGL2E", 90, 135},
    {14, 2, "re. EB in 2 Eb.", "ER2E ", 1935, 720},
    {16, 2, "li. EB in 2 Eb.", "EL2E", 90, 720},
    {17, 2, "re. Hdgel. in 2 Eb.", "HAGR2E", 1935, 1305},
    {18, 2, "li. Hdgel. in 2 Eb.", "HAGL2E", 90, 1305},
    {19, 2, "re. Hd. in 2 Eb.", "", 1935, 1890},
    {21, 2, "li. Hd. in 2 Eb.", "", 90, 1890},
    {22, 2, "re. Da. in 2 Eb.", "F1R2", 5850, 135},
    {23, 2, "li. Da. in 2 Eb.", "F1L2", 4005, 135},
    {24, 2, "re. 2 Fi. in 2 Eb.", "F2R2", 5850, 720},
    {26, 2, "li. 2 Fi. in 2 Eb.", "F2L2", 4005, 720},
    {27, 3, "li. Knie in 2 Eb.", "KNL2E", 90, 135},
    {28, 3, "re. Knie in 2 Eb.", "KNR2E", 1935, 135},
    {29, 2, "re. 3 Fi. in 2 Eb.", "F3R2", 5850, 1305},
    {30, 2, "li. 3 Fi. in 2 Eb.", "F3L2", 4005, 1305},
    {31, 2, "re. 4 Fi. in 2 Eb.", "F4R2", 5850, 1890},
    {32, 2, "li. 4 Fi. in 2 Eb.", "F4L2", 4005, 1890},
    {33, 2, "re. 5 Fi. in 2 Eb.", "F5R2", 5850, 2475},
    {34, 2, "li. 5 Fi. in 2 Eb.", "F5L2", 4005, 2475},
    {35, 2, "li. CTS", "", 90, 2475},
    {36, 2, "re. CTS", "", 1935, 2475},
    {37, 2, "re. Nav.", "", 1935, 3060},
    {38, 2, "li. Nav.", "", 90, 3060},
    {39, 3, "re. Pat.", "", 1935, 720},
    {40, 3, "li. Pat.", "", 90, 720},
    {41, 3, "re. Fe. tang.", "", 1935, 1890},
    {42, 3, "li. Fe. tang.", "", 90, 1890},
    {43, 3, "re. F\xFC. in 2 Eb.", "", 1935, 2475},
    {44, 3, "li. F\xFC. in 2 Eb.", "", 90, 2475},
    {45, 3, "re. V-F in 2 Eb.", "VFR2E", 1935, 3060},
    {46, 3, "li. V-F in 2 Eb.", "VFL2E", 90, 3060},
    {47, 4, "s.K.K.", "", 90, 3015},
    {48, 4, "re. Tossy", "", 1935, 2430},
    {49, 4, "li. Tossy", "", 90, 2430},
    {50, 3, "li. OSG in 2 Eb.", "", 90, 1260},
    {51, 4,
     "Stei\xDF"
     "b.",
     "", 90, 1845},
    {52, 4, "Sternum", "", 90, 1260},
    {53, 4, "li. Scap", "", 90, 675},
    {54, 4, "Thorax in 2 Eb.", "TH2E", 90, 90},
    {55, 4, "re. Scap", "", 1935, 675},
    {56, 3, "re. OSG in 2 Eb.", "", 1935, 1260},
    {57, 4,
     "Sch\xE4"
     "del a.p.",
     "SCHAP", 4005, 90},
};

static_assert(sizeof kEntries / sizeof kEntries[0] == 53);

} // namespace

std::span<const Entry> Entries() {
    return kEntries;
}

const Entry* Find(int index) {
    for (const Entry& e : kEntries)
        if (e.index == index)
            return &e;
    return nullptr;
}

} // namespace tessaro::selection::catalogue
