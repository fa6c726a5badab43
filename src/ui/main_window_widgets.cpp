#include "ui/main_window_widgets.h"

#include "ui/app_icon.h"
#include "ui/caption_fit.h"
#include "ui/colour_literal.h"
#include "ui/examination_button.h"
#include "ui/fixed_window.h"
#include "ui/fonts.h"
#include "ui/main_window_layout.h"
#include "ui/ok_button.h"
#include "ui/qt_colour.h"
#include "ui/screen_fit.h"
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
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <limits>
#include <string>
#include <vector>

namespace tessaro::ui {

namespace {

QString Indexed(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

// A divider one pixel wide, filled rather than stroked: a stroked one-pixel line
// falls between device pixels at some scalings and vanishes.
class DividerLine : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::WindowText));
    }
};

// Every measure and font of the tables goes through here, at the window's scale.
class Placer {
public:
    explicit Placer(const LayoutScale& scale) : scale_(scale) {}
    void operator()(QWidget* w, const TwipsRect& r) const { w->setGeometry(scale_.Rect(r)); }
    int px(int twips) const { return scale_.Px(twips); }
    QFont font(double points, bool bold) const { return Tahoma(scale_.Points(points), bold); }
    QFont font(const layout::FontSpec& item) const { return font(item.pointSize, item.bold); }

private:
    LayoutScale scale_;
};

TextBox* MakeTextBox(QWidget* parent, const char* name, const TwipsRect& rect,
                     const Placer& place) {
    auto* box = new TextBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setFont(place.font(layout::kTextBoxFont));
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
        label->setFont(place.font(layout::kLabelFont));
        place(label, item.rect);
        FitCaption(*label);
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
        FitCaption(*frame);
        auto* panel = new QWidget(frame);
        panel->setObjectName(QLatin1String(g.panelName));
        place(panel, g.panel);
        w.fraGroup[i] = frame;
        panelOfGroup[static_cast<std::size_t>(g.number)] = panel;
    }

    for (const layout::Divider& d : layout::kDividers) {
        auto* line = new DividerLine(panelOfGroup[static_cast<std::size_t>(d.group)]);
        line->setObjectName(QLatin1String(d.name));
        line->setGeometry(place.px(d.x), place.px(d.top), 1, place.px(d.bottom) - place.px(d.top));
    }

    for (const selection::catalogue::Entry& e : selection::catalogue::Entries()) {
        auto* button =
            new ExaminationButton(e.index, panelOfGroup[static_cast<std::size_t>(e.group)]);
        button->setObjectName(Indexed("cmdQB", e.index));
        button->setText(LiteralCaption(FromAnsi(e.caption)));
        button->setFont(
            place.font(layout::kQuickFont.pointSize, selection::catalogue::EnabledAtStart(e)));
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
        button->setFont(place.font(layout::kManualFont));
        button->SetBackColor(face);
        place(button, layout::ManualButtonRect(i));
        button->hide();
        w.cmdManual[static_cast<std::size_t>(i)] = button;
    }
}

void BuildStatusBar(MainWindowWidgets& w, const Placer& place) {
    w.StateBar = new QWidget(w.client);
    w.StateBar->setObjectName(QStringLiteral("StateBar"));
    w.StateBar->setFont(place.font(layout::kStatusFont));
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

MainWindowWidgets BuildMainWindow(QMainWindow& window, std::optional<QRect> workArea) {
    MainWindowWidgets w;
    window.setObjectName(QStringLiteral("frmMain"));
    window.setWindowTitle(AppTitle());
    window.setWindowIcon(AppIcon());
    // Fixed single border: a close box, no minimize or maximize box.
    window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint);
    KeepFixedForWindowManager(window);

    BuildMenu(window, w);
    // The menu bar is not part of the tables and keeps its size: a shrunk
    // window is still worked with the same menu.
    window.menuBar()->setFont(Tahoma(layout::kWindowFontPt));

    // The client at full size first, and the menu bar's height measured as the
    // window's layout gives it (for the client's width, polished by the style:
    // its plain size hint may be a pixel short).
    const double dpi = LogicalDpi(&window);
    w.client = new QWidget(&window);
    w.client->setObjectName(QStringLiteral("frmMain.client"));
    w.client->setFixedSize(TwipsToPixels(layout::kClientWidth, dpi),
                           TwipsToPixels(layout::kClientHeight, dpi));
    window.setCentralWidget(w.client);
    window.layout()->setSizeConstraint(QLayout::SetFixedSize);
    window.ensurePolished();
    QMenuBar* menu = window.menuBar();
    const int menuHeight =
        std::max(menu->sizeHint().height(), menu->heightForWidth(w.client->width()));

    const QScreen* screen = window.screen();
    const QRect area = workArea ? *workArea : screen ? screen->availableGeometry() : QRect();
    const QMargins frame = ExpectedFrame(window);
    SetFitFactor(window, area.isEmpty()
                             ? 1.0
                             : FitFactor(area, frame, menuHeight,
                                         {layout::kClientWidth, layout::kClientHeight}, dpi));
    const LayoutScale scale = LayoutScale::Of(&window);
    const Placer place(scale);
    window.setFont(place.font(layout::kWindowFontPt, false));
    w.client->setFixedSize(place.px(layout::kClientWidth), place.px(layout::kClientHeight));

    BuildEntryRow(w, place);
    BuildQuickButtons(w, place);
    BuildManualButtons(w, place);

    w.cmdOK = new OkButton(QStringLiteral("OK"), w.client);
    w.cmdOK->setObjectName(QStringLiteral("cmdOK"));
    w.cmdOK->setFont(place.font(layout::kOkFont));
    place(w.cmdOK, layout::kCmdOK);
    FitCaption(*w.cmdOK);

    BuildStatusBar(w, place);
    SetTabOrder(w);
    w.txtBpart->setFocus(Qt::OtherFocusReason);

    if (scale.factor() < 1.0) {
        const QSize frameSize(place.px(layout::kClientWidth) + frame.left() + frame.right(),
                              place.px(layout::kClientHeight) + menuHeight + frame.top() +
                                  frame.bottom());
        window.move(CentreIn(area, frameSize));
    }
    KeepInsideWorkAreaWhenShown(window);
    return w;
}

} // namespace tessaro::ui
