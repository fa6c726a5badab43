#include "ui/settings_window_layout.h"

#include "ui/app_icon.h"
#include "ui/caption_fit.h"
#include "ui/fixed_window.h"
#include "ui/fonts.h"
#include "ui/magnifier.h"
#include "ui/text.h"

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>
#include <limits>

namespace tessaro::ui {

namespace {

using K = SettingsControlKind;

// A click anywhere in the box's rectangle toggles it, as on a Windows form;
// Qt's own box reacts only on its indicator and text.
class CheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

constexpr std::array kTable{
    SettingsControlSpec{"Label1(7)", K::Label, {135, 180, 990, 240}, 9.75, true, "Modalität:"},
    SettingsControlSpec{"Label1(0)", K::Label, {3150, 180, 615, 240}, 9.75, true, "Suffix:"},
    SettingsControlSpec{"Label1(9)", K::Label, {3915, 180, 1290, 240}, 9.75, true, "Lumeo - ID:"},
    SettingsControlSpec{"txtModality", K::TextBox, {135, 495, 2940, 330}, 9.75, false, ""},
    SettingsControlSpec{"txtSuffix", K::TextBox, {3150, 495, 690, 330}, 9.75, false, ""},
    SettingsControlSpec{"txtLumeoID", K::TextBox, {3915, 495, 1635, 330}, 9.75, false, ""},
    SettingsControlSpec{
        "Label1(6)", K::Label, {135, 945, 1545, 240}, 9.75, true, "GDT - Quellpfad:"},
    SettingsControlSpec{"txtGDTpathS", K::TextBox, {135, 1260, 4965, 375}, 9.75, false, ""},
    SettingsControlSpec{"cmdSrcSource", K::PictureButton, {5175, 1260, 375, 375}, 0, false, ""},
    SettingsControlSpec{
        "Label1(8)", K::Label, {135, 1755, 2055, 240}, 9.75, true, "GDT - Zielverzeichnis:"},
    SettingsControlSpec{"txtGDTpathD", K::TextBox, {135, 2070, 4965, 375}, 9.75, false, ""},
    SettingsControlSpec{"cmdSRCDest", K::PictureButton, {5175, 2070, 375, 375}, 0, false, ""},
    SettingsControlSpec{
        "chkManual", K::CheckBox, {135, 2655, 2850, 240}, 9.75, true, "Manuelle Beschriftung"},
    SettingsControlSpec{
        "chkStudyDesc", K::CheckBox, {3555, 2655, 2220, 285}, 9.75, true, "Study Description"},
    SettingsControlSpec{"cmdSpeichern", K::PushButton, {900, 3105, 1500, 465}, 9.75, true, "OK"},
    SettingsControlSpec{
        "cmdCancel", K::PushButton, {2475, 3105, 1500, 465}, 9.75, true, "Abbrechen"},
    SettingsControlSpec{
        "cmdApply", K::PushButton, {4050, 3105, 1500, 465}, 9.75, true, "Übernehmen"},
};

QWidget* CreateControl(const SettingsControlSpec& item, QWidget* form, const LayoutScale& scale) {
    const QString caption = QString::fromUtf8(item.caption);
    QWidget* widget = nullptr;
    switch (item.kind) {
    case K::Label: {
        auto* label = new QLabel(form);
        label->setTextFormat(Qt::PlainText);
        label->setText(caption);
        widget = label;
        break;
    }
    case K::TextBox:
        widget = new QLineEdit(form); // no length limit: QLineEdit's own is 32767
        static_cast<QLineEdit*>(widget)->setMaxLength(std::numeric_limits<int>::max());
        break;
    case K::PictureButton: {
        auto* button = new QPushButton(form);
        button->setIcon(QIcon(MagnifyingGlass()));
        button->setIconSize(scale.Picture(QSize(16, 16)));
        widget = button;
        break;
    }
    case K::CheckBox: {
        auto* box = new CheckBox(form);
        box->setText(LiteralCaption(caption));
        widget = box;
        break;
    }
    case K::PushButton: {
        auto* button = new QPushButton(form);
        button->setText(LiteralCaption(caption));
        widget = button;
        break;
    }
    }
    widget->setObjectName(QString::fromLatin1(item.name));
    if (item.fontPoints > 0)
        widget->setFont(Tahoma(scale.Points(item.fontPoints), item.bold));
    widget->setGeometry(scale.Rect(item.rect));
    // The widths were made for the original Tahoma; a substitute with slightly wider
    // glyphs would cut off the colon. Labels have nothing to their right that they
    // could cover, so they may grow.
    if (item.kind == K::Label && widget->sizeHint().width() > widget->width())
        widget->resize(widget->sizeHint().width(), widget->height());
    if (item.kind == K::CheckBox || item.kind == K::PushButton || item.kind == K::Label)
        FitCaption(*widget);
    return widget;
}

template <class T> T* Find(QWidget* form, const char* name) {
    return form->findChild<T*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
}

} // namespace

std::span<const SettingsControlSpec> SettingsControlTable() {
    return kTable;
}

SettingsControls BuildSettingsLayout(QDialog* form) {
    form->setObjectName(QStringLiteral("frmSettings"));
    form->setWindowTitle(QStringLiteral("Einstellungen"));
    form->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint);
    KeepFixedForWindowManager(*form);
    CentreOverOwnerWhenShown(*form);
    form->setWindowIcon(AppIcon());
    // The main window's fit factor: a main window shrunk to fit its screen
    // opens a settings window shrunk alike.
    const LayoutScale scale = LayoutScale::Of(form);
    form->setFont(Tahoma(scale.Points(kSettingsWindowFontPoints)));
    form->setFixedSize(scale.Px(kSettingsClientWidth), scale.Px(kSettingsClientHeight));

    for (const SettingsControlSpec& item : kTable)
        CreateControl(item, form, scale);

    SettingsControls c{
        Find<QLineEdit>(form, "txtModality"),    Find<QLineEdit>(form, "txtSuffix"),
        Find<QLineEdit>(form, "txtLumeoID"),     Find<QLineEdit>(form, "txtGDTpathS"),
        Find<QPushButton>(form, "cmdSrcSource"), Find<QLineEdit>(form, "txtGDTpathD"),
        Find<QPushButton>(form, "cmdSRCDest"),   Find<QCheckBox>(form, "chkManual"),
        Find<QCheckBox>(form, "chkStudyDesc"),   Find<QPushButton>(form, "cmdSpeichern"),
        Find<QPushButton>(form, "cmdCancel"),    Find<QPushButton>(form, "cmdApply"),
    };

    // Enter is handled by the window itself (only the focused button is pressed),
    // so no button may become Qt's default button.
    for (QPushButton* button : form->findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    c.cmdApply->setEnabled(false);

    const std::array<QWidget*, 12> tabOrder{
        c.cmdSpeichern, c.cmdCancel,  c.cmdApply,   c.txtGDTpathS, c.cmdSrcSource, c.txtModality,
        c.txtGDTpathD,  c.cmdSRCDest, c.txtLumeoID, c.txtSuffix,   c.chkManual,    c.chkStudyDesc,
    };
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
    c.cmdSpeichern->setFocus();
    return c;
}

} // namespace tessaro::ui
