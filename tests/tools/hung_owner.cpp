// Takes the CLIPBOARD and never answers a request: an owner that hangs.
// Prints "ready" once it owns the selection and "asked" at the first request,
// then waits until it is killed.
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

int main() {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) return 1;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t w = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, w, screen->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_intern_atom_reply_t* a = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, 9, "CLIPBOARD"), nullptr);
    if (!a) return 1;
    xcb_set_selection_owner(c, w, a->atom, XCB_CURRENT_TIME);
    xcb_get_selection_owner_reply_t* o = xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, a->atom), nullptr);
    if (!o || o->owner != w) return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    bool asked = false;
    while (xcb_generic_event_t* ev = xcb_wait_for_event(c)) {
        if ((ev->response_type & 0x7F) == XCB_SELECTION_REQUEST && !std::exchange(asked, true)) {
            std::printf("asked\n");
            std::fflush(stdout);
        }
        std::free(ev);
    }
    return 0;
}
