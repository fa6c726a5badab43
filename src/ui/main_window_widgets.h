// Builds the controls of the main window from the layout tables and hands them
// to the window's behaviour; every control carries its name as objectName.
#pragma once

#include "selection/catalogue.h"
#include "selection/manual_buttons.h"

#include <QRect>
#include <array>
#include <optional>

class QAction;
class QGroupBox;
class QLabel;
class QMainWindow;
class QMenu;
class QPushButton;
class QWidget;

namespace tessaro::ui {

class ExaminationButton;
class TextBox;

struct MainWindowWidgets {
    QWidget* client = nullptr;
    std::array<QLabel*, 3> Label1{}; // by index
    TextBox* txtMod = nullptr;
    TextBox* txtBpart = nullptr;
    TextBox* txtShort = nullptr;
    QWidget* picNoManual = nullptr;
    QWidget* picManual = nullptr;
    std::array<QGroupBox*, 4> fraGroup{};
    // cmdQB by index; nullptr for the numbers no catalogue entry uses.
    std::array<ExaminationButton*, selection::catalogue::kHighestIndex + 1> cmdQB{};
    std::array<ExaminationButton*, selection::manual::kButtonCount> cmdManual{};
    QPushButton* cmdOK = nullptr;
    QWidget* StateBar = nullptr;
    std::array<QLabel*, 3> statusPanels{}; // panel n at [n - 1]
    QMenu* mnuDatei = nullptr;
    QAction* mnuClose = nullptr;
    QAction* mnuSettings = nullptr;
};

// Creates everything as it looks before start-up: caption "Velt - Tessaro",
// both examination panels visible, manual buttons hidden and without caption,
// all quick buttons enabled, OK enabled, focus in txtBpart, tab order set.
// Where the window with frame and menu does not fit the work area of its
// screen (workArea: that one instead, for tests), every measure, font and
// picture is shrunk by one factor and the window is placed inside it.
MainWindowWidgets BuildMainWindow(QMainWindow& window,
                                  std::optional<QRect> workArea = std::nullopt);

// Status-bar panel name as tests and scripts find it: "StateBar.Panel(2)".
const char* StatusPanelName(int number);

} // namespace tessaro::ui
