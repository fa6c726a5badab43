// The one seam through which every message reaches the operator: modal, OK only,
// error icon, titled "Velt - Tessaro". Tests install a recorder; nothing blocks.
#pragma once

#include <string>
#include <string_view>

namespace tessaro::platform {

inline constexpr std::string_view kAppTitle = "Velt - Tessaro";

class OperatorMessages {
public:
    virtual ~OperatorMessages() = default;
    // text: Windows-1252 bytes. Returns when the operator has confirmed.
    virtual void ShowError(const std::string& text) = 0;
};

} // namespace tessaro::platform
