#include "ui/fixed_window.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMargins>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <QWindow>
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
#else
void WriteFixedMotifHints(QWidget&) {}
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

} // namespace

void KeepFixedForWindowManager(QWidget& window) {
    window.installEventFilter(new MotifHints(window));
}

void CentreOverOwnerWhenShown(QWidget& window) {
    window.installEventFilter(new Centring(window));
}

} // namespace tessaro::ui
