// The arrangement of frmSettings: every control with its twips rectangle, font and
// caption, kept as one table, and the builder that creates the controls from it.
#pragma once

#include "ui/twips.h"

#include <span>

class QCheckBox;
class QDialog;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tessaro::ui {

enum class SettingsControlKind { Label, TextBox, PictureButton, CheckBox, PushButton };

struct SettingsControlSpec {
    const char* name; // objectName
    SettingsControlKind kind;
    TwipsRect rect;
    double fontPoints; // 0: the window font
    bool bold;
    const char* caption; // UTF-8; "" for none
};

inline constexpr int kSettingsClientWidth = 5640;
inline constexpr int kSettingsClientHeight = 3690;
inline constexpr double kSettingsWindowFontPoints = 8.25;

// Top to bottom, as the controls stand in the window.
std::span<const SettingsControlSpec> SettingsControlTable();

struct SettingsControls {
    QLineEdit* txtModality;
    QLineEdit* txtSuffix;
    QLineEdit* txtLumeoID;
    QLineEdit* txtGDTpathS;
    QPushButton* cmdSrcSource;
    QLineEdit* txtGDTpathD;
    QPushButton* cmdSRCDest;
    QCheckBox* chkManual;
    QCheckBox* chkStudyDesc;
    QPushButton* cmdSpeichern;
    QPushButton* cmdCancel;
    QPushButton* cmdApply;
};

// Gives form its caption, fixed client size, window font and icon, creates every
// control of the table on it and sets the tab order. cmdApply starts disabled and
// the focus is put on cmdSpeichern. No push button is a default button.
SettingsControls BuildSettingsLayout(QDialog* form);

} // namespace tessaro::ui
