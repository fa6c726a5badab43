// Test double of the message seam: records every text, never blocks.
#pragma once

#include <string>
#include <vector>

#include "platform/message_box.h"

namespace tessaro::test {

class RecordingMessageBox : public platform::MessageBox {
public:
    void ShowError(const std::string& text) override { texts.push_back(text); }
    std::vector<std::string> texts;
};

} // namespace tessaro::test
