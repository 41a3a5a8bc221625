// Asks the window manager to close a window as its close button would
// (_NET_CLOSE_WINDOW), so that the program runs its own close handling.
//   close_window WINDOW_ID
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: close_window WINDOW_ID\n");
        return 2;
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) return 1;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
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
