#include "gdt/request_import.h"

#include "gdt/gdt_line.h"
#include "platform/codec.h"
#include "platform/errors.h"
#include "platform/files.h"

#include <new>

namespace tessaro::gdt {
namespace {

// Lines are counted in a signed 16-bit index, as the stored files have always
// been read; a text of more pieces than that is refused as an overflow.
constexpr std::size_t kMaxPieces = 32768;

struct PanelField {
    const char* id;
    const char* prefix;
};
constexpr PanelField kPanelFields[3] = {{"3000", "ID: "}, {"3102", "VN: "}, {"3101", "NN: "}};

void Report(MessageBox& messages, const PlatformError& e) {
    messages.ShowError(cp1252::Ansi("Es ist ein Fehler aufgetreten.") + "\r\n" +
                       std::to_string(e.Number()) + " - " + e.Description());
}

} // namespace

std::array<std::optional<std::string>, 3> PanelsFromRequest(const std::string& requestText) {
    const std::vector<std::string_view> lines = SplitLines(requestText);
    if (lines.size() >= kMaxPieces)
        throw PlatformError(ErrorNumber::Overflow);
    std::array<std::optional<std::string>, 3> panels;
    for (std::string_view line : lines) {
        const std::string_view id = FieldId(line);
        for (std::size_t p = 0; p < panels.size(); ++p)
            if (id == kPanelFields[p].id)
                panels[p] = std::string(kPanelFields[p].prefix) + std::string(Content(line));
    }
    return panels;
}

ImportResult ReadRequestFile(const std::string& path, MessageBox& messages) {
    ImportResult result;
    try {
        result.requestText = fs::ReadWholeFile(path);
        result.panels = PanelsFromRequest(result.requestText);
    } catch (const PlatformError& e) {
        Report(messages, e);
    } catch (const std::bad_alloc&) {
        Report(messages, PlatformError(ErrorNumber::OutOfMemory));
    }
    return result;
}

} // namespace tessaro::gdt
