// The window's wording of what the commit and the recovery report: every
// report has its text, the files it concerns in it, and "zugestellt" only
// where something was delivered.
#include "app/handover_messages.h"

#include <gtest/gtest.h>

namespace tessaro::app {
namespace {

using gdt::CommitSaid;
using gdt::RecoverySaid;

TEST(HandoverMessages, EveryReportIsWordedWithItsFiles) {
    const platform::PlatformError disk(platform::ErrorNumber::DeviceIo, "/out/001.7.zzz");
    const struct {
        CommitSaid said;
        std::string path, second;
        bool back;
        const char* begins;
        const char* holds;
    } rows[] = {
        {CommitSaid::Nothing, "", "", false, "", ""},
        {CommitSaid::NoData, "", "", false,
         "Die Daten konnten nicht korrekt ausgelesen werden.\r\nBitte starten Sie das Programm "
         "erneut.",
         ""},
        {CommitSaid::LumeoIdRefused, "x\x1B", "", false, "Die Lumeo-ID \"x<1B>\" kann nicht", ""},
        {CommitSaid::TargetFolderMissing, "/out", "", false,
         "Zielverzeichnis nicht gefunden.\r\n/out", ""},
        {CommitSaid::TargetFolderMissing, "", "", false,
         "Zielverzeichnis nicht gefunden.\r\n(In den Einstellungen ist keines eingetragen.)", ""},
        {CommitSaid::CodeTooLong, "", "", false, "Der Untersuchungscode ist zu lang", "990"},
        {CommitSaid::RequestGone, "/in/a.gdt", "", false,
         "Die Anforderung ist nicht mehr da:", "/in/a.gdt"},
        {CommitSaid::RequestInUse, "/in/a.gdt", "", false,
         "Die Anforderung ist gerade von einem anderen Programm", "/in/a.gdt"},
        {CommitSaid::NameTaken, "/out/001.7.zzz", "/in/a.gdt", true, "Unter diesem Namen",
         "wieder an ihrem Platz:\r\n/in/a.gdt"},
        {CommitSaid::FailedBeforeDelivery, "", "", true,
         "Es ist ein Fehler aufgetreten.\r\nFehler 57", "liegt wieder an ihrem Platz."},
        {CommitSaid::FailedAfterDelivery, "/out/001.7.gdt", "", false,
         "Es ist ein Fehler aufgetreten.", "trotzdem zugestellt:\r\n/out/001.7.gdt"},
    };
    for (const auto& r : rows) {
        gdt::CommitReport report;
        report.said = r.said;
        report.path = r.path;
        report.second = r.second;
        report.back = r.back;
        report.error = disk;
        const std::string text = CommitMessage(report);
        SCOPED_TRACE(text);
        EXPECT_EQ(text.rfind(r.begins, 0), 0u);
        EXPECT_NE(text.find(r.holds), std::string::npos);
        EXPECT_EQ(text.find("zugestellt:") != std::string::npos,
                  r.said == CommitSaid::FailedAfterDelivery);
    }

    EXPECT_EQ(RecoveryMessage({}), "");
    gdt::RecoveryReport waiting{
        {{RecoverySaid::Delivered, "/out/001.7.gdt", "", std::nullopt},
         {RecoverySaid::Undecided, "/share", "/share/001.8.gdt", std::nullopt}},
        false};
    const std::string text = RecoveryMessage(waiting);
    EXPECT_EQ(text.rfind("Ein fr\xFC"
                         "herer Lauf wurde unterbrochen (etwa durch einen Absturz oder "
                         "Stromausfall). Er ist noch nicht abgeschlossen:\r\nZugestellt als "
                         "/out/001.7.gdt; der Lauf wurde abgeschlossen.\r\nNoch nicht entschieden: "
                         "Der Zielordner /share ist",
                         0),
              0u)
        << text;
}

} // namespace
} // namespace tessaro::app
