// Turns presses on examination buttons into the selection: a visible text and a
// code that travels into the result file. Windows-1252 texts.
#pragma once

#include <string>
#include <vector>

namespace tessaro::selection {

// The numbers the press handlers take, the only definition (ui::ExaminationButton
// turns Qt's buttons and modifiers into them).
enum MouseButton : int { kLeft = 1, kRight = 2, kMiddle = 4 };
enum Modifier : int { kShift = 1, kCtrl = 2, kAlt = 4 };

struct Selection {
    std::string text;
    std::string code;
};

inline constexpr const char* kJoin = " + ";
inline constexpr const char* kLeftSide = " li.";
inline constexpr const char* kRightSide = " re.";

// Catalogue press: only the left button acts; it replaces text and code.
void CataloguePress(Selection& selection, int mouseButton, const std::string& caption,
                    const std::string& code);

// Manual press on button `index`: highlight, compose, side. `highlighted` holds
// one flag per manual button (all 66) and is updated as the press demands.
void ManualPress(Selection& selection, std::vector<bool>& highlighted, int index, int mouseButton,
                 int modifiers, const std::string& caption, const std::string& code);

} // namespace tessaro::selection
