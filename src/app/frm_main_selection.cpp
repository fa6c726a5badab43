// The composer's handlers: presses on examination buttons, the OK rule, and the
// caret of the text boxes.
#include "app/frm_main.h"
#include "selection/composer.h"
#include "ui/colour_literal.h"
#include "ui/examination_button.h"
#include "ui/qt_colour.h"
#include "ui/text.h"
#include "ui/text_box.h"

#include <QPushButton>

namespace tessaro::app {

void FrmMain::SetSelection(const std::string& text, const std::string& code) {
    selectionCode_ = code;
    w_.txtBpart->setText(ui::FromAnsi(text));
}

void FrmMain::cmdQB_MouseDown(int index, int button, int /*shift*/) {
    Guarded([&] {
        const selection::catalogue::Entry* entry = selection::catalogue::Find(index);
        if (entry == nullptr)
            return;
        selection::Selection s{ui::ToAnsi(w_.txtBpart->text()), selectionCode_};
        selection::CataloguePress(s, button, entry->caption, entry->code);
        SetSelection(s.text, s.code);
    });
}

void FrmMain::cmdManual_MouseDown(int index, int button, int shift) {
    Guarded([&] {
        if (index < 0 || index >= selection::manual::kButtonCount)
            return;
        const selection::manual::Button& pressed = manualButtons_[static_cast<std::size_t>(index)];
        selection::Selection s{ui::ToAnsi(w_.txtBpart->text()), selectionCode_};
        selection::ManualPress(s, highlighted_, index, button, shift, pressed.caption,
                               pressed.code);
        PaintHighlights();
        SetSelection(s.text, s.code);
        w_.txtBpart->end(false);
    });
}

void FrmMain::PaintHighlights() {
    const QPalette& palette = w_.picManual->palette();
    const QColor chosen = ui::ColourFromLiteral(ui::colour::kChosen, palette);
    const QColor notChosen = ui::ColourFromLiteral(ui::colour::kNotChosen, palette);
    for (std::size_t i = 0; i < w_.cmdManual.size(); ++i)
        w_.cmdManual[i]->SetBackColor(i < highlighted_.size() && highlighted_[i] ? chosen
                                                                                 : notChosen);
}

// OK only while the selection text and the modality are both non-empty (a text
// of blanks counts); the short code plays no part.
void FrmMain::ApplyOkRule() {
    w_.cmdOK->setEnabled(!w_.txtBpart->text().isEmpty() && !w_.txtMod->text().isEmpty());
}

void FrmMain::txtBpart_Change() {
    ApplyOkRule();
}
void FrmMain::txtMod_Change() {
    ApplyOkRule();
}

// Caret to the end with nothing selected, so that typing appends.
void FrmMain::txtBpart_GotFocus() {
    w_.txtBpart->end(false);
}
void FrmMain::txtMod_GotFocus() {
    w_.txtMod->end(false);
}
void FrmMain::txtShort_GotFocus() {
    w_.txtShort->end(false);
}

} // namespace tessaro::app
