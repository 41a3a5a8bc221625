#pragma once
// What the XCB test tools share: one connection, atoms, answers to
// selection requests, and owning the CLIPBOARD.
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace tool {

inline xcb_connection_t* c = nullptr;

inline bool connect() {
    c = xcb_connect(nullptr, nullptr);
    return !xcb_connection_has_error(c);
}

inline xcb_window_t root() { return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root; }

inline xcb_atom_t atom(const std::string& name) {
    xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(name.size()), name.c_str()), nullptr);
    const xcb_atom_t a = r ? r->atom : 0;
    std::free(r);
    return a;
}

inline void write(xcb_window_t w, xcb_atom_t property, xcb_atom_t type, int format, const void* data,
                  std::size_t units) {
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, property, type, static_cast<std::uint8_t>(format),
                        static_cast<std::uint32_t>(units), data);
}

// Tells the requestor where its answer is; XCB_ATOM_NONE refuses.
inline void notify(const xcb_selection_request_event_t* r, xcb_atom_t property) {
    xcb_selection_notify_event_t n{};
    n.response_type = XCB_SELECTION_NOTIFY;
    n.time = r->time;
    n.requestor = r->requestor;
    n.selection = r->selection;
    n.target = r->target;
    n.property = property;
    xcb_send_event(c, 0, r->requestor, 0, reinterpret_cast<const char*>(&n));
    xcb_flush(c);
}

inline void say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

// Takes the CLIPBOARD for a window of its own, stamped with a real time (that
// of a property change of its own), and says "ready"; 0 when that failed.
inline xcb_window_t ownClipboard() {
    const xcb_window_t w = xcb_generate_id(c);
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, w, root(), 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &mask);
    xcb_change_property(c, XCB_PROP_MODE_APPEND, w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0, "");
    xcb_flush(c);
    xcb_timestamp_t time = XCB_CURRENT_TIME;
    while (xcb_generic_event_t* ev = xcb_wait_for_event(c)) {
        const bool found = (ev->response_type & 0x7F) == XCB_PROPERTY_NOTIFY;
        if (found) time = reinterpret_cast<xcb_property_notify_event_t*>(ev)->time;
        std::free(ev);
        if (found) break;
    }
    const xcb_atom_t clipboard = atom("CLIPBOARD");
    xcb_set_selection_owner(c, w, clipboard, time);
    xcb_get_selection_owner_reply_t* o = xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, clipboard), nullptr);
    const bool owned = o && o->owner == w;
    std::free(o);
    if (owned) say("ready");
    return owned ? w : 0;
}

}  // namespace tool
