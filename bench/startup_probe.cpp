// Starts a program and measures the time from just before exec to the mapping
// of its first top-level window whose name contains a given text, its peak
// resident memory once that window is up, and the processor time it used.
// Prints "<ms> <kB> <cpu-ms>" and stops the program. Event driven (X MapNotify
// on the root window), so it adds no polling load to the start-up it measures.
//   startup_probe <name-part> <settle-ms> <program> [args...]
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

std::string WindowName(xcb_connection_t* c, xcb_window_t w) {
    // _NET_WM_NAME (UTF-8) first, as Qt sets it; WM_NAME otherwise.
    const char* netName = "_NET_WM_NAME";
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(netName), netName), nullptr);
    std::string name;
    const xcb_atom_t none = XCB_ATOM_NONE;
    for (xcb_atom_t property : {atom ? atom->atom : none, xcb_atom_t{XCB_ATOM_WM_NAME}}) {
        if (property == none)
            continue;
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            c, xcb_get_property(c, 0, w, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024), nullptr);
        if (reply != nullptr) {
            name.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                        static_cast<std::size_t>(xcb_get_property_value_length(reply)));
            std::free(reply);
        }
        if (!name.empty())
            break;
    }
    std::free(atom);
    return name;
}

long PeakRssKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: startup_probe <name-part> <settle-ms> <program> [args]\n");
        return 2;
    }
    const std::string namePart = argv[1];
    const int settleMs = std::atoi(argv[2]);

    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "startup_probe: no X display\n");
        return 2;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);

    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execv(argv[3], argv + 3);
        std::_Exit(127);
    }
    double ms = -1;
    pollfd x{xcb_get_file_descriptor(c), POLLIN, 0};
    while (ms < 0) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
            const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
            const xcb_window_t window =
                mapped ? reinterpret_cast<xcb_map_notify_event_t*>(event)->window : 0;
            std::free(event);
            if (ms < 0 && mapped && WindowName(c, window).find(namePart) != std::string::npos)
                ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                               start)
                         .count();
        }
        if (ms >= 0)
            break;
        if (::waitpid(pid, nullptr, WNOHANG) == pid) {
            std::fprintf(stderr, "startup_probe: %s ended before mapping a window\n", argv[3]);
            return 1;
        }
        if (std::chrono::steady_clock::now() - start > std::chrono::seconds(60)) {
            std::fprintf(stderr, "startup_probe: no window after 60 s\n");
            ::kill(pid, SIGKILL);
            return 1;
        }
        ::poll(&x, 1, 50);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    const long kb = PeakRssKb(pid);
    ::kill(pid, SIGTERM);
    // The processor time of the whole run: the start-up, as the program is
    // idle after it. A figure that other load on the machine hardly moves.
    rusage usage{};
    ::wait4(pid, nullptr, 0, &usage);
    const double cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
                         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
    xcb_disconnect(c);
    std::printf("%.1f %ld %.1f\n", ms, kb, cpuMs);
    return ms < 0 ? 1 : 0;
}
