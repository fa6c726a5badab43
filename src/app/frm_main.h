// frmMain: the main window's behaviour on top of its layout, one share per file:
// frm_main.cpp wiring, failure guard, patient display, menu and closing;
// frm_main_load.cpp start-up and unload; frm_main_selection.cpp button presses,
// the OK rule and the caret; frm_main_ok.cpp the OK button and the commit.
#pragma once

#include "app/environment.h"
#include "config/settings.h"
#include "selection/manual_buttons.h"
#include "ui/main_window_widgets.h"

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tessaro::app {

class FrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit FrmMain(Environment env);

    // Start-up, before the window is first shown. The second-instance test has
    // already been passed by then (main() makes it before anything else). False
    // when a failure has ended the program: the window must not be shown.
    bool Form_Load();
    // Saves the short code; runs when the window is unloaded.
    void Form_Unload();

    void cmdQB_MouseDown(int index, int button, int shift);
    void cmdManual_MouseDown(int index, int button, int shift);
    void txtBpart_Change();
    void txtMod_Change();
    void txtBpart_GotFocus();
    void txtMod_GotFocus();
    void txtShort_GotFocus();
    void cmdOK_Click();
    void mnuClose_Click();
    void mnuSettings_Click();

    // State that is not on screen, for tests and diagnostics.
    const std::string& SelectionCode() const { return selectionCode_; }
    const std::string& RequestText() const { return requestText_; }
    std::int16_t SequenceNumber() const { return sequenceNumber_; }
    const config::ProgramSettings& Settings() const { return settings_.Values(); }
    const ui::MainWindowWidgets& Widgets() const { return w_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Connect();
    void DisableCodelessQuickButtons();
    void LoadSettingsIntoWindow();
    void LoadManualButtons();
    void RecoverInterruptedCommit();
    void ImportRequest();
    void RenderPatient();
    void ApplyOkRule();
    void SetSelection(const std::string& text, const std::string& code);
    void PaintHighlights();
    std::string IniFile() const;

    // Runs a handler so that no exception reaches Qt's event loop: a failure
    // the handler does not catch ends the program with an error message.
    bool Guarded(const std::function<void()>& handler);
    void EndProgram(int status);

    Environment env_;
    ui::MainWindowWidgets w_;
    bool ended_ = false;

    config::Settings settings_; // the one owner of the values and of Settings.ini
    std::string requestText_;
    std::string importedPath_; // the file the request came from, taken away on commit
    std::int16_t sequenceNumber_ = 0;
    // Status-bar panel texts as imported, bytes untouched; shown by RenderPatient.
    std::array<std::string, 3> panelBytes_;

    std::string selectionCode_; // the tag of txtBpart, never shown
    selection::manual::Buttons manualButtons_;
    std::vector<bool> highlighted_;
};

} // namespace tessaro::app
