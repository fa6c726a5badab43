// The commit and the start-up recovery without a window, for the fault suite:
// strace kills it or fails its system calls at one point after another, and
// the suite looks at what is left on disk.
//   commit_driver start  PROGRAMDIR PATHS PATHD NUMBER   recovery, then the import
//   commit_driver commit PROGRAMDIR PATHS PATHD NUMBER   the same, then OK with LW2E
// PROGRAMDIR holds Tessaro.lock, whose holder keeps the record of the commit.
// Before the part under test it makes one getppid() call, which nothing else
// makes: the suite counts the system calls after it. Messages go to stdout.
// Exit status: 0 delivered (commit) or started, 3 not delivered, 4 kept, 2 failed.
#include "app/handover_messages.h"
#include "app/startup_messages.h"
#include "config/settings_values.h"
#include "gdt/commit.h"
#include "gdt/recovery.h"
#include "gdt/request_import.h"
#include "platform/files.h"
#include "platform/instance_lock.h"
#include "platform/message_box.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

class PrintingMessageBox : public tessaro::platform::OperatorMessages {
public:
    void ShowError(const std::string& text) override {
        std::printf("message: %s\n", text.c_str());
        std::fflush(stdout);
    }
    void Say(const std::string& text) {
        if (!text.empty())
            ShowError(text);
    }
};

} // namespace

int main(int argc, char** argv) {
    using namespace tessaro;
    if (argc != 6)
        return 64;
    const std::string mode = argv[1];
    platform::InstanceLock lock(argv[2]);
    if (!lock.Held())
        return 65;
    config::ProgramSettings settings;
    settings.PathS = argv[3];
    settings.PathD = argv[4];
    settings.LumeoID = "001";
    const auto number = static_cast<std::int16_t>(std::atoi(argv[5]));
    PrintingMessageBox messages;

    if (mode == "start")
        (void)::getppid();
    messages.Say(app::RecoveryMessage(gdt::RecoverInterruptedCommits(lock)));
    std::string request;
    if (platform::FileExists(settings.PathS) && !platform::IsForeignLink(settings.PathS)) {
        const gdt::ImportResult imported = gdt::ReadRequestFile(settings.PathS);
        messages.Say(app::ImportMessage(imported));
        request = imported.requestText;
    }
    std::printf("offered: %zu\n", request.size());
    std::fflush(stdout);
    if (mode != "commit")
        return 0;

    (void)::getppid();
    const std::string code = "LW2E";
    const gdt::CommitReport report =
        gdt::CommitRequest(gdt::CommitInput{settings, number, request, code, settings.PathS, lock});
    messages.Say(app::CommitMessage(report));
    switch (report.outcome) {
    case gdt::CommitOutcome::Done:
        return 0;
    case gdt::CommitOutcome::NotDelivered:
        return 3;
    case gdt::CommitOutcome::Kept:
        return 4;
    case gdt::CommitOutcome::NoData:
        return 1;
    case gdt::CommitOutcome::Failed:
        break;
    }
    return 2;
}
