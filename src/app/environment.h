// What the main window needs from the process around it: where the program
// lives, how it talks to the operator, and how the program ends. main() hands
// in the real ones; tests hand in a temporary directory and recorders.
#pragma once

#include "platform/message_box.h"
#include "platform/record_store.h"
#include "ui/folder_chooser.h"

#include <functional>
#include <string>

namespace tessaro::app {

// Exit statuses of the process.
inline constexpr int kExitOk = 0;      // a commit, a normal close, a second instance
inline constexpr int kExitNoData = 1;  // OK pressed without an imported request
inline constexpr int kExitFailure = 2; // a failure ended the program with an error message

struct Environment {
    std::string programDirectory; // Windows-1252, without a trailing "/"
    platform::OperatorMessages& messages;
    ui::FolderChooser& folders;
    // The record of a commit in flight: the instance lock's, in the program
    // folder, so that it is found again whatever else changed.
    platform::RecordStore& record;
    // Ends the program with the status. Called once; the caller runs nothing
    // after it. The unload step is not part of it.
    std::function<void(int status)> endProgram;
};

} // namespace tessaro::app
