#include "ui/fixed_window.h"

#include "ui/screen_fit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMargins>
#include <QPointer>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdint>

#ifdef TESSARO_HAVE_XCB
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>
#endif

namespace tessaro::ui {
namespace {

#ifdef TESSARO_HAVE_XCB
void WriteFixedMotifHints(QWidget& window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr)
        return; // not on X11 (tests on the offscreen platform)
    xcb_connection_t* c = x11->connection();
    constexpr const char* kName = "_MOTIF_WM_HINTS";
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(kName)), kName), nullptr);
    if (reply == nullptr)
        return;
    const xcb_atom_t atom = reply->atom;
    std::free(reply);

    // flags, functions, decorations, input mode, status
    constexpr std::uint32_t kFunctions = 1, kDecorations = 2;
    constexpr std::uint32_t kMove = 0x04, kClose = 0x20;
    constexpr std::uint32_t kBorder = 0x02, kTitle = 0x08, kMenu = 0x10;
    const std::uint32_t hints[5] = {kFunctions | kDecorations, kMove | kClose,
                                    kBorder | kTitle | kMenu, 0, 0};
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window.winId()), atom,
                        atom, 32, 5, hints);
    xcb_flush(c);
}
// A window manager announces itself on the root window (EWMH).
bool WindowManagerRuns() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr)
        return false;
    xcb_connection_t* c = x11->connection();
    constexpr const char* kName = "_NET_SUPPORTING_WM_CHECK";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 1, static_cast<std::uint16_t>(std::strlen(kName)), kName), nullptr);
    if (atom == nullptr)
        return false;
    const xcb_atom_t name = atom->atom;
    std::free(atom);
    if (name == XCB_ATOM_NONE)
        return false;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, name, XCB_ATOM_WINDOW, 0, 1), nullptr);
    if (reply == nullptr)
        return false;
    const bool set = xcb_get_property_value_length(reply) > 0;
    std::free(reply);
    return set;
}
#else
void WriteFixedMotifHints(QWidget&) {}
bool WindowManagerRuns() {
    return false;
}
#endif

class MotifHints : public QObject {
public:
    explicit MotifHints(QWidget& window) : QObject(&window), window_(window) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show)
            WriteFixedMotifHints(window_);
        return false;
    }

private:
    QWidget& window_;
};

QMargins FrameMargins(const QWidget& window) {
    const QWindow* handle = window.windowHandle();
    return handle != nullptr ? handle->frameMargins() : QMargins();
}

// The client position that puts a frame of these margins centred over owner's frame.
QPoint CentredClient(const QWidget& window, const QWidget& owner, const QMargins& frame) {
    const QRect ownerFrame = owner.frameGeometry();
    const int frameWidth = window.width() + frame.left() + frame.right();
    const int frameHeight = window.height() + frame.top() + frame.bottom();
    return {ownerFrame.x() + (ownerFrame.width() - frameWidth) / 2 + frame.left(),
            ownerFrame.y() + (ownerFrame.height() - frameHeight) / 2 + frame.top()};
}

class Centring : public QObject {
public:
    explicit Centring(QWidget& window) : QObject(&window), window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        QWidget* parent = window_.parentWidget();
        if (parent == nullptr)
            return false;
        const QWidget& owner = *parent->window();
        if (watched == &window_ && event->type() == QEvent::Show) {
            guessed_ = FrameMargins(owner);
            window_.setGeometry(QRect(CentredClient(window_, owner, guessed_), window_.size()));
            if (QWindow* handle = window_.windowHandle(); handle != nullptr && !watching_) {
                handle->installEventFilter(this);
                watching_ = true;
            }
            corrected_ = false;
        } else if (watched == window_.windowHandle() && event->type() == QEvent::Expose &&
                   !corrected_ && window_.isVisible()) {
            corrected_ = true;
            const QMargins real = FrameMargins(window_);
            if (real != guessed_)
                window_.setGeometry(QRect(CentredClient(window_, owner, real), window_.size()));
        }
        return false;
    }

private:
    QWidget& window_;
    QMargins guessed_;
    bool watching_ = false;
    bool corrected_ = false;
};

class WorkAreaKeeper : public QObject {
public:
    explicit WorkAreaKeeper(QWidget& window) : QObject(&window), window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && event->type() == QEvent::Show && !watching_) {
            if (QWindow* handle = window_.windowHandle(); handle != nullptr) {
                handle->installEventFilter(this);
                watching_ = true;
            }
        } else if (watched == window_.windowHandle() && event->type() == QEvent::Expose && !done_ &&
                   window_.isVisible()) {
            done_ = true;
            if (const QScreen* screen = window_.screen(); screen != nullptr) {
                const QRect area = screen->availableGeometry();
                const QRect frame = window_.frameGeometry().united(window_.geometry());
                if (!area.contains(frame))
                    window_.move(PlaceInside(area, frame));
            }
        }
        return false;
    }

private:
    QWidget& window_;
    bool watching_ = false;
    bool done_ = false;
};

} // namespace

QMargins ExpectedFrame(QWidget& window) {
    window.winId(); // the native window, whose frame the platform knows from its style
    // A side the platform reports below zero (Windows has the frame reach into
    // the client by a pixel where it hides its resize border) still leaves
    // the client to be shown whole.
    const QMargins reported = FrameMargins(window);
    const QMargins known(std::max(0, reported.left()), std::max(0, reported.top()),
                         std::max(0, reported.right()), std::max(0, reported.bottom()));
    if (!known.isNull() || !WindowManagerRuns())
        return known;
    // Title bar and borders of common X11 window managers, at the screen's dpi.
    const QScreen* screen = window.screen();
    const double dpi = screen != nullptr ? screen->logicalDotsPerInch() : 96.0;
    const auto px = [dpi](int at96) { return static_cast<int>(at96 * dpi / 96.0 + 0.5); };
    return {px(4), px(32), px(4), px(4)};
}

void KeepInsideWorkAreaWhenShown(QWidget& window) {
    window.installEventFilter(new WorkAreaKeeper(window));
}

void KeepFixedForWindowManager(QWidget& window) {
    window.installEventFilter(new MotifHints(window));
}

void CentreOverOwnerWhenShown(QWidget& window) {
    window.installEventFilter(new Centring(window));
}

} // namespace tessaro::ui
