#include "selection/composer.h"

namespace tessaro::selection {
namespace {

void Join(std::string& previous, const std::string& next) {
    if (!previous.empty())
        previous += kJoin;
    previous += next;
}

void ReplaceAll(std::string& s, char what, const std::string& with) {
    std::string out;
    out.reserve(s.size() + with.size());
    for (char c : s) {
        if (c == what)
            out += with;
        else
            out += c;
    }
    s = std::move(out);
}

} // namespace

void CataloguePress(Selection& selection, int mouseButton, const std::string& caption,
                    const std::string& code) {
    if (mouseButton != kLeft)
        return;
    selection.text = caption;
    selection.code = code;
}

void ManualPress(Selection& selection, std::vector<bool>& highlighted, int index, int mouseButton,
                 int modifiers, const std::string& caption, const std::string& code) {
    const bool modified = (modifiers & (kShift | kCtrl | kAlt)) != 0;

    if (!modified)
        highlighted.assign(highlighted.size(), false);
    if (index >= 0) {
        if (static_cast<std::size_t>(index) >= highlighted.size())
            highlighted.resize(static_cast<std::size_t>(index) + 1, false);
        highlighted[static_cast<std::size_t>(index)] = true;
    }

    if (modified) {
        Join(selection.text, caption);
        Join(selection.code, code);
    } else {
        selection.text = caption;
        selection.code = code;
    }

    if (selection.code.empty() || selection.code.back() != '*')
        return;
    const char* side = mouseButton == kLeft    ? kLeftSide
                       : mouseButton == kRight ? kRightSide
                                               : nullptr;
    if (side == nullptr)
        return; // the middle button leaves the side open
    ReplaceAll(selection.code, '*', side);
    selection.text += side;
}

} // namespace tessaro::selection
