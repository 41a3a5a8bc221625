// Asks the window manager to close a window as its close button would
// (_NET_CLOSE_WINDOW), so that the program runs its own close handling.
//   close_window WINDOW_ID
// Or pings the window (_NET_WM_PING, which its event loop answers) every
// 50 ms for MS milliseconds and prints the slowest answer in milliseconds:
//   close_window --ping WINDOW_ID MS
// Exits 1 when a ping goes unanswered for 5 s.
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "xcb_tool.h"

using namespace tool;

namespace {

// A client message of 32-bit words to window, sent to target.
void message(xcb_window_t target, xcb_window_t window, xcb_atom_t type, std::uint32_t mask,
             std::initializer_list<std::uint32_t> words) {
    xcb_client_message_event_t ev{};
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = window;
    ev.type = type;
    std::copy(words.begin(), words.end(), ev.data.data32);
    xcb_send_event(c, 0, target, mask, reinterpret_cast<const char*>(&ev));
    xcb_flush(c);
}

int ping(xcb_window_t window, long forMs) {
    using Clock = std::chrono::steady_clock;
    const xcb_atom_t protocols = atom("WM_PROTOCOLS"), pingAtom = atom("_NET_WM_PING");
    // The answer goes to the root window, with either notify mask (clients differ).
    const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root(), XCB_CW_EVENT_MASK, &mask);
    long worst = 0;
    const auto end = Clock::now() + std::chrono::milliseconds(forMs);
    for (std::uint32_t stamp = 1; Clock::now() < end; ++stamp) {
        const auto sent = Clock::now();
        message(window, window, protocols, XCB_EVENT_MASK_NO_EVENT, {pingAtom, stamp, window});
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
    if (!connect()) return 1;
    if (pinging) return ping(static_cast<xcb_window_t>(std::strtoul(argv[2], nullptr, 0)), std::atol(argv[3]));
    // From a pager or tool (2), as a user's request.
    message(root(), static_cast<xcb_window_t>(std::strtoul(argv[1], nullptr, 0)), atom("_NET_CLOSE_WINDOW"),
            XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY, {XCB_CURRENT_TIME, 2});
    // A round trip, so the request is handled before the connection closes
    // (a bare flush and disconnect can lose it).
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    xcb_disconnect(c);
    return 0;
}
