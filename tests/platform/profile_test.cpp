#include "platform/cp1252.h"
#include "platform/profile.h"
#include "platform/text_encoding.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tessaro {
namespace {

using platform::cp1252::Ansi;
using test::Slurp;
using test::Spit;

class Profile : public ::testing::Test {
protected:
    std::string Read(const std::string& section, const std::string& key,
                     const std::string& def = "<default>", std::size_t size = 256) {
        const platform::ProfileString r = platform::ReadProfileString(section, key, def, size, ini);
        EXPECT_EQ(r.copied, r.text.size());
        return r.text;
    }

    test::TempDir tmp;
    std::string ini = tmp.File("Settings.ini");
};

TEST_F(Profile, ReadsRegardlessOfCaseBlanksAndQuotes) {
    Spit(ini, "[gdt]\r\n"
              "  lumeoid =  042  \r\n"
              "PathD=\"/srv/out dir\"\r\n"
              "Suffix='gdt'\r\n"
              "Modality=\"half\r\n"
              "[" +
                  Ansi("KÜRZEL") + "]\r\n" + Ansi("kürzel") + "=AB\r\n");
    EXPECT_EQ(Read("GDT", "LumeoID"), "042");
    EXPECT_EQ(Read("Gdt", "PATHD"), "/srv/out dir");
    EXPECT_EQ(Read("GDT", "Suffix"), "gdt");
    EXPECT_EQ(Read("GDT", "Modality"), "\"half"); // an unpaired quote stays
    EXPECT_EQ(Read(Ansi("Kürzel"), Ansi("Kürzel")), "AB");
}

TEST_F(Profile, MissingPiecesGiveTheDefaultAndAnEmptyValueGivesEmpty) {
    EXPECT_EQ(Read("GDT", "LumeoID", "001"), "001"); // no file
    Spit(ini, "[GDT]\r\nLumeoID=\r\nManual\r\n[Other]\r\nPathS=x\r\n");
    EXPECT_EQ(Read("GDT", "LumeoID", "001"), "");
    EXPECT_EQ(Read("GDT", "PathS", "d"), "d"); // only in another section
    EXPECT_EQ(Read("Nope", "PathS", "d"), "d");
    EXPECT_EQ(Read("GDT", "Manual", "0"), "0"); // a key without "=" has no value
}

TEST_F(Profile, ValuesAreCutToSizeMinusOne) {
    Spit(ini, "[GDT]\r\nPathS=" + std::string(300, 'p') + "\r\n");
    EXPECT_EQ(Read("GDT", "PathS"), std::string(255, 'p'));
    EXPECT_EQ(Read("GDT", "PathS", "", 4), "ppp");
    EXPECT_EQ(Read("GDT", "PathS", "", 1), "");
    EXPECT_EQ(Read("GDT", "PathS", "", 0), "");
}

TEST_F(Profile, FirstSectionAndFirstKeyWin) {
    Spit(ini, "[GDT]\nPathS=first\nPATHS=second\n[gdt]\nPathS=third\nPathD=late\n");
    EXPECT_EQ(Read("GDT", "PathS"), "first");
    EXPECT_EQ(Read("GDT", "PathD"), "<default>");
}

TEST_F(Profile, LineEndsCommentsHeadersAndDefaultsReadAsOnThePlatform) {
    struct Row {
        const char* content;
        const char* section;
        const char* key;
        const char* def;
        const char* expected;
    };
    const Row rows[] = {
        {"[A]\rk=1\rj=2\r[B]\rj=3", "A", "j", "d", "2"}, // CR alone ends a line
        {"[A]\r\n;k=1\r\n", "A", ";k", "d", "d"},        // a comment is never a key
        {"[A]\r\n  ; k=1\r\nk=2\r\n", "A", "k", "d", "2"},
        {"[sec]xyz]\r\nk=1\r\n", "sec", "k", "d", "1"}, // the name ends at the first "]"
        {"[sec]xyz]\r\nk=1\r\n", "sec]xyz", "k", "d", "d"},
        {"[A]\r\nk=0\r\n[SectionName\r\nk=1\r\n", "SectionName", "k", "d", "1"},
        {"[A]\r\n[]\r\nk=1\r\n", "A", "k", "d", "d"}, // "[]" opens a nameless section
        {"", "A", "k", "one two  ", "one two"},       // only trailing spaces go
        {"", "A", "k", "  a\t ", "  a\t"},
    };
    for (const Row& row : rows) {
        Spit(ini, row.content);
        EXPECT_EQ(Read(row.section, row.key, row.def), row.expected)
            << row.content << " / " << row.section << " / " << row.key;
    }
}

TEST_F(Profile, WritesStoreBareNamesAndPutNewKeysAboveClosingComments) {
    struct Row {
        const char* before;
        const char* section;
        const char* key;
        const char* after;
    };
    const Row rows[] = {
        {"[A]\r\nk=1\r\n\r\n; tail\r\n\r\n[B]\r\n", "A", "j",
         "[A]\r\nk=1\r\nj=v\r\n\r\n; tail\r\n\r\n[B]\r\n"},
        {"[A]\n; only a comment\n", "A", "j", "[A]\nj=v\r\n; only a comment\n"},
        {"[A]\r\nk=1", "A", "k", "[A]\r\nk=v\r\n"}, // the rewritten last line gets CR LF
        {"[A]\rk=1\r", "a", "j", "[A]\rk=1\rj=v\r\n"},
        {"x=1\r", " A ", " k ", "x=1\r[A]\r\nk=v\r\n"},
        {"[A]\r\n k =1\r\n", "A", "\tk ", "[A]\r\nk=v\r\n"},
    };
    for (const Row& row : rows) {
        Spit(ini, row.before);
        ASSERT_TRUE(platform::WriteProfileString(row.section, row.key, "v", ini)) << row.before;
        EXPECT_EQ(Slurp(ini), row.after) << row.before;
    }
}

TEST_F(Profile, WriteCreatesFileSectionAndKeyWithCrLf) {
    ASSERT_TRUE(platform::WriteProfileString(Ansi("Kürzel"), Ansi("Kürzel"), "MK", ini));
    EXPECT_EQ(Slurp(ini), "[K\xFCrzel]\r\nK\xFCrzel=MK\r\n");
    ASSERT_TRUE(platform::WriteProfileString("GDT", "PathS", "/in/req.gdt", ini));
    ASSERT_TRUE(platform::WriteProfileString("GDT", "Manual", "1", ini));
    EXPECT_EQ(Slurp(ini), "[K\xFCrzel]\r\nK\xFCrzel=MK\r\n"
                          "[GDT]\r\nPathS=/in/req.gdt\r\nManual=1\r\n");
}

TEST_F(Profile, WriteChangesOneLineAndLeavesEveryOtherByte) {
    const std::string before = "; written by hand\n"
                               "[Modality]\r\n"
                               "Modality=CR\r\n"
                               "\r\n"
                               "[gdt]\n"
                               "  pathd = /old  \n"
                               "LumeoID=001\r\n"
                               "\n"
                               "[Tail]\r\n"
                               "x=y";
    Spit(ini, before);
    ASSERT_TRUE(platform::WriteProfileString("GDT", "PathD", "/new", ini));
    std::string expected = before;
    expected.replace(expected.find("  pathd = /old  "), 16, "pathd=/new");
    EXPECT_EQ(Slurp(ini), expected);

    // A new key goes after the last line of its section, before the blank line.
    ASSERT_TRUE(platform::WriteProfileString("GDT", "Suffix", "GDT", ini));
    expected.insert(expected.find("LumeoID=001\r\n") + 13, "Suffix=GDT\r\n");
    EXPECT_EQ(Slurp(ini), expected);

    // A section whose last line has no line end gets one before the new key.
    ASSERT_TRUE(platform::WriteProfileString("Tail", "z", "1", ini));
    EXPECT_EQ(Slurp(ini), expected + "\r\nz=1\r\n");
}

TEST_F(Profile, RepeatedSavesLeaveOneLinePerKey) {
    for (int round = 0; round < 2; ++round)
        for (const char* key : {"PathS", "PathD", "Suffix", "LumeoID", "StudyDesc", "Manual"})
            ASSERT_TRUE(platform::WriteProfileString("GDT", key, std::to_string(round), ini));
    const std::string text = Slurp(ini);
    EXPECT_EQ(text, "[GDT]\r\nPathS=1\r\nPathD=1\r\nSuffix=1\r\nLumeoID=1\r\nStudyDesc=1\r\n"
                    "Manual=1\r\n");
}

TEST_F(Profile, ValuesAreWrittenAsTheyStandAndReadBack) {
    const std::string value = Ansi(" Dr. Müller | 1 ");
    ASSERT_TRUE(platform::WriteProfileString("Modality", "Modality", value, ini));
    EXPECT_EQ(Slurp(ini), "[Modality]\r\nModality=" + value + "\r\n");
    EXPECT_EQ(Read("Modality", "Modality"), Ansi("Dr. Müller | 1"));
}

TEST_F(Profile, WriteFailuresAreReportedAndLineBreaksRefused) {
    std::filesystem::create_directory(ini);
    EXPECT_FALSE(platform::WriteProfileString("GDT", "PathS", "x", ini));
    EXPECT_FALSE(
        platform::WriteProfileString("GDT", "PathS", "x", tmp.File("no/dir/Settings.ini")));
    EXPECT_EQ(platform::ReadProfileString("GDT", "PathS", "d", 256, ini).text, "d");

    const std::string readOnly = tmp.File("ro.ini");
    Spit(readOnly, "[GDT]\r\nPathS=old\r\n");
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    EXPECT_FALSE(platform::WriteProfileString("GDT", "PathS", "new", readOnly));
    EXPECT_EQ(Slurp(readOnly), "[GDT]\r\nPathS=old\r\n");

    const std::string good = tmp.File("good.ini");
    EXPECT_FALSE(platform::WriteProfileString("GDT", "PathS", "a\r\n[Evil]\r\nk=v", good));
    EXPECT_FALSE(platform::WriteProfileString("GDT", "Path=S", "a", good));
    // Stored, these would read as a comment or put the key into section "GDT".
    EXPECT_FALSE(platform::WriteProfileString("GDT", " ;PathS", "a", good));
    EXPECT_FALSE(platform::WriteProfileString("GDT]x", "PathS", "a", good));
    EXPECT_FALSE(platform::WriteProfileString(" ", "PathS", "a", good));
    EXPECT_FALSE(std::filesystem::exists(good));
}

// Settings.ini as Notepad saves it: read in its own encoding, the short code
// found in the section "Kürzel" and written back there, in that encoding, with
// every other byte (the byte order mark, a comment 1252 cannot hold) kept.
TEST_F(Profile, EditorEncodingsAreReadAndWrittenBackInTheirOwnEncoding) {
    const std::string utf8 = "; \xC5\x81\xC3\xB3"
                             "d\xC5\xBA\r\n[K\xC3\xBCrzel]\r\nK\xC3\xBCrzel=M\xC3\xBC\r\n"
                             "[GDT]\r\nPathS=/Eing\xC3\xA4nge/a.gdt\r\nPathD=/\xC5\x81\r\n";
    const std::string after = "; \xC5\x81\xC3\xB3"
                              "d\xC5\xBA\r\n[K\xC3\xBCrzel]\r\nK\xC3\xBCrzel=\xC3\x84"
                              "B\r\n"
                              "[GDT]\r\nPathS=/Eing\xC3\xA4nge/a.gdt\r\nPathD=/\xC5\x81\r\n";
    const struct {
        platform::TextEncoding encoding;
        const char* what;
    } rows[] = {{platform::TextEncoding::Utf8, "UTF-8"},
                {platform::TextEncoding::Utf8Bom, "UTF-8 with BOM"},
                {platform::TextEncoding::Utf16Le, "UTF-16 LE"},
                {platform::TextEncoding::Utf16Be, "UTF-16 BE"}};
    for (const auto& row : rows) {
        Spit(ini, platform::EncodeText(utf8, row.encoding));
        EXPECT_EQ(Read(Ansi("Kürzel"), Ansi("Kürzel")), Ansi("Mü")) << row.what;
        EXPECT_EQ(Read("GDT", "PathS"), Ansi("/Eingänge/a.gdt")) << row.what;
        const platform::ProfileString lossy =
            platform::ReadProfileString("GDT", "PathD", "", 256, ini);
        EXPECT_TRUE(lossy.lossy && lossy.text == "/?") << row.what;
        ASSERT_TRUE(platform::WriteProfileString(Ansi("Kürzel"), Ansi("Kürzel"), Ansi("ÄB"), ini));
        EXPECT_TRUE(Slurp(ini) == platform::EncodeText(after, row.encoding)) << row.what;
        // A new section comes in the file's encoding too.
        ASSERT_TRUE(platform::WriteProfileString(Ansi("Größe"), "x", "1", ini));
        EXPECT_TRUE(Slurp(ini) == platform::EncodeText(after + "[Gr\xC3\xB6\xC3\x9F"
                                                               "e]\r\nx=1\r\n",
                                                       row.encoding))
            << row.what;
    }
}

} // namespace
} // namespace tessaro
