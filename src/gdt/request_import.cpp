#include "gdt/request_import.h"

#include "gdt/gdt_line.h"
#include "platform/cp1252.h"
#include "platform/errors.h"
#include "platform/files.h"

#include <new>

namespace tessaro::gdt {
namespace {

// Lines are counted in a signed 16-bit index, as the stored files have always
// been read; a text of more pieces than that is refused as an overflow.
constexpr std::size_t kMaxPieces = 32768;

struct PanelField {
    std::string_view id;
    const char* prefix;
};
constexpr PanelField kPanelFields[3] = {{"3000", "ID: "}, {"3102", "VN: "}, {"3101", "NN: "}};

} // namespace

std::array<std::optional<std::string>, 3> PanelsFromRequest(const std::string& requestText) {
    // The last occurrence of each field, found in one pass; the panel texts are
    // built once at the end, and a text of too many pieces is given up as soon
    // as that is certain.
    std::array<std::optional<std::string_view>, 3> contents;
    std::size_t pieces = 0;
    ForEachLine(requestText, [&](std::string_view line) {
        if (++pieces >= kMaxPieces)
            return false;
        const std::string_view id = FieldId(line);
        for (std::size_t p = 0; p < contents.size(); ++p)
            if (id == kPanelFields[p].id)
                contents[p] = Content(line);
        return true;
    });
    if (pieces >= kMaxPieces)
        throw platform::PlatformError(platform::ErrorNumber::Overflow);
    std::array<std::optional<std::string>, 3> panels;
    for (std::size_t p = 0; p < panels.size(); ++p)
        if (contents[p])
            panels[p] =
                kPanelFields[p].prefix + std::string(contents[p]->substr(0, kMaxPanelBytes));
    return panels;
}

ImportResult ReadRequestFile(const std::string& path) {
    ImportResult result;
    result.path = path;
    try {
        result.requestText = platform::ReadWholeFile(path, kMaxRequestBytes);
        result.panels = PanelsFromRequest(result.requestText);
    } catch (const platform::FileTooLarge& e) {
        result.problem = ImportResult::Problem::TooLarge;
        result.size = e.Size();
    } catch (const platform::FileInUse& e) {
        result.problem = ImportResult::Problem::InUse;
        result.error = e;
    } catch (const platform::PlatformError& e) {
        result.problem = ImportResult::Problem::Failed;
        result.error = e;
    } catch (const std::bad_alloc&) {
        result.problem = ImportResult::Problem::Failed;
        result.error = platform::PlatformError(platform::ErrorNumber::OutOfMemory);
    }
    return result;
}

} // namespace tessaro::gdt
