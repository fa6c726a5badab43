// Test double of the message seam: records every text, never blocks.
#pragma once

#include "platform/message_box.h"

#include <string>
#include <vector>

namespace tessaro::test {

class RecordingMessageBox : public platform::OperatorMessages {
public:
    void ShowError(const std::string& text) override { texts.push_back(text); }
    std::vector<std::string> texts;
};

} // namespace tessaro::test
