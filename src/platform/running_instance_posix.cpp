// On X11, through the window manager's _NET_ACTIVE_WINDOW; without a window
// manager, the window is raised and given the focus directly. The window is
// the one whose process (_NET_WM_PID) runs the executable of this folder.
#include "platform/running_instance.h"

#ifdef TESSARO_HAVE_XCB
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits.h>
#include <memory>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>
#endif

namespace tessaro::platform {

#ifdef TESSARO_HAVE_XCB
namespace {

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

std::string FolderOfExecutable(const std::string& link) {
    char buf[PATH_MAX];
    const ssize_t n = ::readlink(link.c_str(), buf, sizeof buf);
    if (n <= 0 || static_cast<std::size_t>(n) >= sizeof buf)
        return {};
    const std::string path(buf, static_cast<std::size_t>(n));
    return path.substr(0, path.find_last_of('/'));
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(
            c, xcb_intern_atom(c, 1, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr),
        &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// The property's bytes, empty when it is not set.
std::string Property(xcb_connection_t* c, xcb_window_t w, xcb_atom_t property, xcb_atom_t type) {
    if (property == XCB_ATOM_NONE)
        return {};
    Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, property, type, 0, 4096), nullptr),
        &std::free);
    if (!reply)
        return {};
    const auto* bytes = static_cast<const char*>(xcb_get_property_value(reply.get()));
    return std::string(bytes, static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
}

std::vector<xcb_window_t> Windows(std::string_view bytes) {
    std::vector<xcb_window_t> windows(bytes.size() / sizeof(xcb_window_t));
    if (!windows.empty())
        std::memcpy(windows.data(), bytes.data(), windows.size() * sizeof(xcb_window_t));
    return windows;
}

} // namespace

void BringRunningInstanceForward() {
    const std::string ours = FolderOfExecutable("/proc/self/exe");
    if (ours.empty())
        return;
    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
    const std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> connection(c,
                                                                                  &xcb_disconnect);
    if (xcb_connection_has_error(c))
        return;
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    if (screens.rem == 0)
        return;
    const xcb_window_t root = screens.data->root;
    const xcb_atom_t clientList = Atom(c, "_NET_CLIENT_LIST");
    const xcb_atom_t pidAtom = Atom(c, "_NET_WM_PID");
    const xcb_atom_t nameAtom = Atom(c, "_NET_WM_NAME");
    const xcb_atom_t utf8 = Atom(c, "UTF8_STRING");
    const xcb_atom_t activeAtom = Atom(c, "_NET_ACTIVE_WINDOW");

    // The windows a window manager manages; without one, the top-level ones.
    std::vector<xcb_window_t> candidates = Windows(Property(c, root, clientList, XCB_ATOM_WINDOW));
    const bool managed = !candidates.empty();
    if (!managed) {
        Reply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr), &std::free);
        if (tree)
            candidates.assign(xcb_query_tree_children(tree.get()),
                              xcb_query_tree_children(tree.get()) +
                                  xcb_query_tree_children_length(tree.get()));
    }
    for (const xcb_window_t w : candidates) {
        const std::string pid = Property(c, w, pidAtom, XCB_ATOM_CARDINAL);
        const std::string name = Property(c, w, nameAtom, utf8);
        if (pid.size() != 4 || !name.starts_with("Velt - Tessaro ["))
            continue;
        std::uint32_t process = 0;
        std::memcpy(&process, pid.data(), sizeof process);
        if (static_cast<pid_t>(process) == ::getpid() ||
            FolderOfExecutable("/proc/" + std::to_string(process) + "/exe") != ours)
            continue;
        if (managed && activeAtom != XCB_ATOM_NONE) {
            // Source 2: asked for by the user, which the window manager honours.
            xcb_client_message_event_t event{};
            event.response_type = XCB_CLIENT_MESSAGE;
            event.format = 32;
            event.window = w;
            event.type = activeAtom;
            event.data.data32[0] = 2;
            event.data.data32[1] = XCB_CURRENT_TIME;
            xcb_send_event(c, 0, root,
                           XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT |
                               XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                           reinterpret_cast<const char*>(&event));
        } else {
            const std::uint32_t above = XCB_STACK_MODE_ABOVE;
            xcb_configure_window(c, w, XCB_CONFIG_WINDOW_STACK_MODE, &above);
            xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, w, XCB_CURRENT_TIME);
        }
        // A round trip, so the request has reached the server before we end.
        Reply<xcb_get_input_focus_reply_t> sync(
            xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr), &std::free);
        return;
    }
}
#else
void BringRunningInstanceForward() {}
#endif

} // namespace tessaro::platform
