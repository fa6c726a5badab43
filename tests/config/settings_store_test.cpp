#include "config/settings_keys.h"
#include "config/settings_store.h"
#include "platform/cp1252.h"
#include "platform/profile.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"
#include "support/worded_startup.h"

#include <gtest/gtest.h>

namespace tessaro::config {
namespace {

using platform::cp1252::Ansi;
using test::Spit;

class SettingsStore : public ::testing::Test {
protected:
    StartupValues Load(const std::string& content) {
        Spit(ini, content);
        return test::LoadWorded(ini, messages);
    }

    test::TempDir tmp;
    std::string ini = IniPath(tmp.path());
    test::RecordingMessageBox messages;
};

TEST_F(SettingsStore, MissingFileGivesTheDefaultsSilently) {
    const StartupValues v = test::LoadWorded(ini, messages);
    EXPECT_EQ(v.shortCode, "");
    EXPECT_EQ(v.modality, "");
    EXPECT_EQ(v.values.PathS, "");
    EXPECT_EQ(v.values.PathD, "");
    EXPECT_EQ(v.values.LumeoID, "001");
    EXPECT_EQ(v.values.Suffix, "GDT");
    EXPECT_FALSE(v.values.Manual);
    EXPECT_FALSE(v.values.StudyDesc);
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_EQ(ini, tmp.File("Settings.ini"));
}

TEST_F(SettingsStore, LoadsEveryValueFromItsSection) {
    const StartupValues v = Load("[" + Ansi("Kürzel") + "]\r\n" + Ansi("Kürzel") +
                                 "=MK\r\n"
                                 "[Modality]\r\nModality=CR\r\n"
                                 "[GDT]\r\nPathS=/in/a.gdt\r\nPathD=/out\r\nLumeoID=\r\n"
                                 "Suffix=Gdt\r\nManual=-1\r\nStudyDesc=True\r\n");
    EXPECT_EQ(v.shortCode, "MK");
    EXPECT_EQ(v.modality, "CR");
    EXPECT_EQ(v.values.PathS, "/in/a.gdt");
    EXPECT_EQ(v.values.PathD, "/out");
    EXPECT_EQ(v.values.LumeoID, ""); // present but empty is not the default
    EXPECT_EQ(v.values.Suffix, "GDT");
    EXPECT_TRUE(v.values.Manual);
    EXPECT_TRUE(v.values.StudyDesc);
    EXPECT_TRUE(messages.texts.empty());

    // What the settings window saves loads back the same; Suffix as typed.
    const std::string saved = tmp.File("saved.ini");
    ASSERT_TRUE(SaveSettings({v.values, v.modality, "Gdt"}, saved));
    const StartupValues back = test::LoadWorded(saved, messages);
    EXPECT_EQ(back.modality, "CR");
    EXPECT_EQ(back.values.PathS, "/in/a.gdt");
    EXPECT_EQ(back.values.PathD, "/out");
    EXPECT_EQ(back.values.LumeoID, "");
    EXPECT_EQ(ReadIniValue(kGdtSection, "Suffix", "", saved, kValueSize), "Gdt");
    EXPECT_TRUE(back.values.Manual);
    EXPECT_TRUE(back.values.StudyDesc);
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(SettingsStore, ShortCodeSectionIsTheByteFC) {
    ASSERT_TRUE(SaveShortCode("AB", ini));
    EXPECT_EQ(test::Slurp(ini), "[K\xFCrzel]\r\nK\xFCrzel=AB\r\n");
    EXPECT_EQ(ReadIniValue(kShortSection, kShortKey, "", ini, kValueSize), "AB");
}

TEST_F(SettingsStore, ReadIniValueCutsAt255) {
    Spit(ini, "[GDT]\r\nPathD=" + std::string(300, 'd') + "\r\n");
    EXPECT_EQ(ReadIniValue("GDT", "PathD", "", ini, 256), std::string(255, 'd'));
}

// The two paths are held whole, so a folder deeper than 255 characters is
// found; every other value is still cut at 255.
TEST_F(SettingsStore, PathsAreReadWholeOtherValuesCutAt255) {
    const std::string deep = "C:\\" + std::string(400, 'p');
    const StartupValues v = Load("[GDT]\r\nPathS=" + deep + "\\a.gdt\r\nPathD=" + deep +
                                 "\r\nLumeoID=" + std::string(300, 'l') + "\r\n");
    EXPECT_EQ(v.values.PathS, deep + "\\a.gdt");
    EXPECT_EQ(v.values.PathD, deep);
    EXPECT_EQ(v.values.LumeoID, std::string(255, 'l'));
}

// Every value but the two paths is cut to 255 bytes on loading, whichever key
// holds it. A flag shows the cut through its last digit: "0…01" is on only
// while the 1 is kept.
TEST_F(SettingsStore, EveryValueButThePathsIsCutTo255BytesOnLoading) {
    struct Key {
        std::string section;
        std::string key;
        std::string StartupValues::*text;
        std::string ProgramSettings::*setting;
        bool ProgramSettings::*flag;
    };
    const std::string gdt = kGdtSection;
    const Key keys[] = {
        {kShortSection, kShortKey, &StartupValues::shortCode, nullptr, nullptr},
        {kModalitySection, kModalityKey, &StartupValues::modality, nullptr, nullptr},
        {gdt, "LumeoID", nullptr, &ProgramSettings::LumeoID, nullptr},
        {gdt, "Suffix", nullptr, &ProgramSettings::Suffix, nullptr},
        {gdt, "Manual", nullptr, nullptr, &ProgramSettings::Manual},
        {gdt, "StudyDesc", nullptr, nullptr, &ProgramSettings::StudyDesc},
    };
    for (const Key& k : keys) {
        for (const std::size_t length : {254u, 255u, 256u, 300u}) {
            const std::string value =
                k.flag != nullptr ? std::string(length - 1, '0') + "1" : std::string(length, 'D');
            const StartupValues v = Load("[" + k.section + "]\r\n" + k.key + "=" + value + "\r\n");
            const std::string where = k.key + " at " + std::to_string(length);
            if (k.flag != nullptr)
                EXPECT_EQ(v.values.*k.flag, length <= 255) << where;
            else if (k.text != nullptr)
                EXPECT_EQ(v.*k.text, value.substr(0, 255)) << where;
            else
                EXPECT_EQ(v.values.*k.setting, value.substr(0, 255)) << where;
        }
    }
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(SettingsStore, InvalidFlagIsReportedOnceNamingKeyAndValueAndIsOff) {
    const StartupValues v = Load("[GDT]\r\nManual=ja\r\nStudyDesc=1\r\n");
    EXPECT_FALSE(v.values.Manual);
    EXPECT_TRUE(v.values.StudyDesc);
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(
        messages.texts[0],
        Ansi("Ungültiger Wert für Manual in Settings.ini: \"ja\". Die Einstellung gilt als aus."));

    messages.texts.clear();
    const StartupValues empty = Load("[GDT]\r\nStudyDesc=\r\n");
    EXPECT_FALSE(empty.values.StudyDesc);
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_NE(messages.texts[0].find("StudyDesc"), std::string::npos);
}

TEST(ParseFlag, NumbersAndWords) {
    for (const char* yes :
         {"1", "-1", "2", "+7", "0.5", "TRUE", "true", "tRuE", "99999999999999999999", "1e2",
          "1E-400", "2.5D+3", ".5", "&H1", "&hFFFFFFFF", "&O7", "&o10", " &H1 ",
          // ending in 0: not zero for all that
          "10", "1.0", "&H10", "-10", "100"})
        EXPECT_EQ(ParseFlag(yes), std::optional<bool>(true)) << yes;
    for (const char* no : {"0", "-0", "000", "0.0", "False", "FALSE", "0e5", "&H0", "&O000"})
        EXPECT_EQ(ParseFlag(no), std::optional<bool>(false)) << no;
    for (const char* bad : {"", "ja", "yes", "on", "1a", "-", ".", "1.2.3", "Wahr", "1e", "1e+",
                            "e5", "&H", "&HG", "&O8", "&B1", "-&H1", "1e2x", "&H 1"})
        EXPECT_EQ(ParseFlag(bad), std::nullopt) << bad;
}

} // namespace
} // namespace tessaro::config
