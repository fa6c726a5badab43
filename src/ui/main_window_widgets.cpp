#include "ui/main_window_widgets.h"

#include "ui/app_icon.h"
#include "ui/colour.h"
#include "ui/colours.h"
#include "ui/examination_button.h"
#include "ui/fixed_window.h"
#include "ui/fonts.h"
#include "ui/main_window_layout.h"
#include "ui/text.h"
#include "ui/text_box.h"

#include <QAction>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <limits>
#include <string>
#include <vector>

namespace tessaro::ui {

namespace {

QString Indexed(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

QFont FontOf(const layout::FontSpec& item) {
    return Tahoma(item.pointSize, item.bold);
}

class Placer {
public:
    explicit Placer(double dpi) : dpi_(dpi) {}
    void operator()(QWidget* w, const TwipsRect& r) const { w->setGeometry(ToPixels(r, dpi_)); }
    int px(int twips) const { return TwipsToPixels(twips, dpi_); }

private:
    double dpi_;
};

TextBox* MakeTextBox(QWidget* parent, const char* name, const TwipsRect& rect,
                     const Placer& place) {
    auto* box = new TextBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setFont(FontOf(layout::kTextBoxFont));
    box->setMaxLength(std::numeric_limits<int>::max()); // Qt's own limit is 32767
    place(box, rect);
    return box;
}

void BuildMenu(QMainWindow& window, MainWindowWidgets& w) {
    // Captions without "&": the menu has no mnemonics and no shortcut keys.
    w.mnuDatei = window.menuBar()->addMenu(QStringLiteral("Datei"));
    w.mnuDatei->setObjectName(QStringLiteral("mnuDatei"));
    w.mnuClose = w.mnuDatei->addAction(QStringLiteral("Beenden"));
    w.mnuClose->setObjectName(QStringLiteral("mnuClose"));
    w.mnuSettings = w.mnuDatei->addAction(QStringLiteral("Einstellungen"));
    w.mnuSettings->setObjectName(QStringLiteral("mnuSettings"));
}

void BuildEntryRow(MainWindowWidgets& w, const Placer& place) {
    for (const layout::Label& item : layout::kLabels) {
        auto* label = new QLabel(QString::fromUtf8(item.caption), w.client);
        label->setObjectName(Indexed("Label1", item.index));
        label->setTextFormat(Qt::PlainText);
        label->setFont(FontOf(layout::kLabelFont));
        place(label, item.rect);
        w.Label1[static_cast<std::size_t>(item.index)] = label;
    }
    w.txtMod = MakeTextBox(w.client, "txtMod", layout::kTxtMod, place);
    w.txtBpart = MakeTextBox(w.client, "txtBpart", layout::kTxtBpart, place);
    w.txtShort = MakeTextBox(w.client, "txtShort", layout::kTxtShort, place);
}

void BuildQuickButtons(MainWindowWidgets& w, const Placer& place) {
    w.picNoManual = new QWidget(w.client);
    w.picNoManual->setObjectName(QStringLiteral("picNoManual"));
    place(w.picNoManual, layout::kPicNoManual);

    std::array<QWidget*, 5> panelOfGroup{};
    for (std::size_t i = 0; i < layout::kGroups.size(); ++i) {
        const layout::Group& g = layout::kGroups[i];
        auto* frame = new QGroupBox(QString::fromUtf8(g.caption), w.picNoManual);
        frame->setObjectName(QLatin1String(g.frameName));
        place(frame, g.frame);
        auto* panel = new QWidget(frame);
        panel->setObjectName(QLatin1String(g.panelName));
        place(panel, g.panel);
        w.fraGroup[i] = frame;
        panelOfGroup[static_cast<std::size_t>(g.number)] = panel;
    }

    for (const layout::Divider& d : layout::kDividers) {
        auto* line = new QFrame(panelOfGroup[static_cast<std::size_t>(d.group)]);
        line->setObjectName(QLatin1String(d.name));
        line->setFrameShape(QFrame::VLine);
        line->setFrameShadow(QFrame::Plain);
        line->setLineWidth(1);
        line->setGeometry(place.px(d.x), place.px(d.top), 1, place.px(d.bottom) - place.px(d.top));
    }

    for (const selection::catalogue::Entry& e : selection::catalogue::Entries()) {
        auto* button =
            new ExaminationButton(e.index, panelOfGroup[static_cast<std::size_t>(e.group)]);
        button->setObjectName(Indexed("cmdQB", e.index));
        button->setText(LiteralCaption(FromAnsi(e.caption)));
        button->setFont(
            Tahoma(layout::kQuickFont.pointSize, selection::catalogue::EnabledAtStart(e)));
        place(button, {e.left, e.top, selection::catalogue::kButtonWidth,
                       selection::catalogue::kButtonHeight});
        w.cmdQB[static_cast<std::size_t>(e.index)] = button;
    }
}

void BuildManualButtons(MainWindowWidgets& w, const Placer& place) {
    w.picManual = new QWidget(w.client);
    w.picManual->setObjectName(QStringLiteral("picManual"));
    place(w.picManual, layout::kPicManual);
    const QColor face = ColourFromLiteral(ui::colour::kNotChosen, w.picManual->palette());
    for (int i = 0; i < selection::manual::kButtonCount; ++i) {
        auto* button = new ExaminationButton(i, w.picManual);
        button->setObjectName(Indexed("cmdManual", i));
        button->setFont(FontOf(layout::kManualFont));
        button->SetBackColor(face);
        place(button, layout::ManualButtonRect(i));
        button->hide();
        w.cmdManual[static_cast<std::size_t>(i)] = button;
    }
}

void BuildStatusBar(MainWindowWidgets& w, const Placer& place) {
    w.StateBar = new QWidget(w.client);
    w.StateBar->setObjectName(QStringLiteral("StateBar"));
    w.StateBar->setFont(FontOf(layout::kStatusFont));
    place(w.StateBar, layout::kStateBar);
    int left = 0;
    for (const layout::StatusPanel& item : layout::kStatusPanels) {
        auto* panel = new QLabel(QString::fromLatin1(item.initialText), w.StateBar);
        panel->setObjectName(QLatin1String(StatusPanelName(item.number)));
        panel->setTextFormat(Qt::PlainText);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setIndent(3);
        panel->setMinimumWidth(place.px(item.minWidth));
        place(panel, {left, 0, item.width, layout::kStateBar.height});
        left += item.width;
        w.statusPanels[static_cast<std::size_t>(item.number - 1)] = panel;
    }
}

// txtBpart, txtShort, cmdOK, txtMod, then the quick buttons from group 4 back to
// group 1, highest index first, then the manual buttons upward. Disabled and
// hidden buttons are passed over by the focus chain itself.
void SetTabOrder(MainWindowWidgets& w) {
    std::vector<QWidget*> chain{w.txtBpart, w.txtShort, w.cmdOK, w.txtMod};
    for (int group = 4; group >= 1; --group)
        for (int index = selection::catalogue::kHighestIndex; index >= 0; --index) {
            const selection::catalogue::Entry* e = selection::catalogue::Find(index);
            if (e != nullptr && e->group == group)
                chain.push_back(w.cmdQB[static_cast<std::size_t>(index)]);
        }
    for (ExaminationButton* b : w.cmdManual)
        chain.push_back(b);
    for (std::size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

} // namespace

const char* StatusPanelName(int number) {
    static const char* const names[] = {"StateBar.Panel(1)", "StateBar.Panel(2)",
                                        "StateBar.Panel(3)"};
    return names[number - 1];
}

MainWindowWidgets BuildMainWindow(QMainWindow& window) {
    MainWindowWidgets w;
    window.setObjectName(QStringLiteral("frmMain"));
    window.setWindowTitle(AppTitle());
    window.setWindowIcon(AppIcon());
    window.setFont(Tahoma(layout::kWindowFontPt));
    // Fixed single border: a close box, no minimize or maximize box.
    window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint);
    KeepFixedForWindowManager(window);

    const Placer place(LogicalDpi(&window));
    BuildMenu(window, w);

    w.client = new QWidget(&window);
    w.client->setObjectName(QStringLiteral("frmMain.client"));
    w.client->setFixedSize(place.px(layout::kClientWidth), place.px(layout::kClientHeight));
    window.setCentralWidget(w.client);
    window.layout()->setSizeConstraint(QLayout::SetFixedSize);

    BuildEntryRow(w, place);
    BuildQuickButtons(w, place);
    BuildManualButtons(w, place);

    w.cmdOK = new QPushButton(QStringLiteral("OK"), w.client);
    w.cmdOK->setObjectName(QStringLiteral("cmdOK"));
    w.cmdOK->setFont(FontOf(layout::kOkFont));
    w.cmdOK->setAutoDefault(false);
    w.cmdOK->setDefault(false);
    place(w.cmdOK, layout::kCmdOK);

    BuildStatusBar(w, place);
    SetTabOrder(w);
    w.txtBpart->setFocus(Qt::OtherFocusReason);
    return w;
}

} // namespace tessaro::ui
