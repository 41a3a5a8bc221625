// Asks the window manager to close a window as its close button would
// (_NET_CLOSE_WINDOW), so that the program runs its own close handling.
//   close_window WINDOW_ID
// Or pings the window (_NET_WM_PING, which its event loop answers) every
// 50 ms for MS milliseconds and prints the slowest answer in milliseconds:
//   close_window --ping WINDOW_ID MS
// Exits 1 when a ping goes unanswered for 5 s.
#include <poll.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

xcb_atom_t intern(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr);
    const xcb_atom_t a = r ? r->atom : 0;
    std::free(r);
    return a;
}

int ping(xcb_connection_t* c, xcb_window_t root, xcb_window_t window, long forMs) {
    using Clock = std::chrono::steady_clock;
    const xcb_atom_t protocols = intern(c, "WM_PROTOCOLS"), pingAtom = intern(c, "_NET_WM_PING");
    // The answer goes to the root window, with either notify mask (clients differ).
    const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    long worst = 0;
    const auto end = Clock::now() + std::chrono::milliseconds(forMs);
    for (std::uint32_t stamp = 1; Clock::now() < end; ++stamp) {
        xcb_client_message_event_t ev{};
        ev.response_type = XCB_CLIENT_MESSAGE;
        ev.format = 32;
        ev.window = window;
        ev.type = protocols;
        ev.data.data32[0] = pingAtom;
        ev.data.data32[1] = stamp;
        ev.data.data32[2] = window;
        const auto sent = Clock::now();
        xcb_send_event(c, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&ev));
        xcb_flush(c);
        for (bool answered = false; !answered;) {
            xcb_generic_event_t* e = xcb_poll_for_event(c);
            if (!e) {
                if (Clock::now() - sent > std::chrono::seconds(5)) return 1;
                pollfd p{xcb_get_file_descriptor(c), POLLIN, 0};
                ::poll(&p, 1, 100);
                continue;
            }
            const auto* m = reinterpret_cast<const xcb_client_message_event_t*>(e);
            answered = (e->response_type & 0x7F) == XCB_CLIENT_MESSAGE && m->type == protocols &&
                       m->data.data32[0] == pingAtom && m->data.data32[1] == stamp;
            std::free(e);
        }
        const long took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - sent).count();
        worst = std::max(worst, took);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::printf("%ld\n", worst);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const bool pinging = argc == 4 && std::strcmp(argv[1], "--ping") == 0;
    if (argc != 2 && !pinging) {
        std::fprintf(stderr, "usage: close_window WINDOW_ID | close_window --ping WINDOW_ID MS\n");
        return 2;
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) return 1;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    if (pinging)
        return ping(c, root, static_cast<xcb_window_t>(std::strtoul(argv[2], nullptr, 0)), std::atol(argv[3]));
    const char name[] = "_NET_CLOSE_WINDOW";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr);
    if (!atom) return 1;
    xcb_client_message_event_t ev{};
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = static_cast<xcb_window_t>(std::strtoul(argv[1], nullptr, 0));
    ev.type = atom->atom;
    ev.data.data32[0] = XCB_CURRENT_TIME;
    ev.data.data32[1] = 2;  // from a pager or tool, as a user's request
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&ev));
    // A round trip, so the request is handled before the connection closes
    // (a bare flush and disconnect can lose it).
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    std::free(atom);
    xcb_disconnect(c);
    return 0;
}
