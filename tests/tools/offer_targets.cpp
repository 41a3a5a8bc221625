// Owns the CLIPBOARD with the given targets, as a password manager or a
// rich-text editor does:  offer_targets UTF8_STRING=hunter2 x-kde-passwordManagerHint=secret
// Serves TARGETS and each target's bytes (small values only). Prints "ready"
// once it owns the selection and "asked NAME" after each request for an
// offered target; exits when it loses it or is killed.
//   NAME            offered, but every request for it is refused
//   NAME@TYPE=VALUE answered under another type (a picture "as text")
//   --targets-as=string|atom16   TARGETS answered as old toolkits do: the
//                   names as a STRING, or 16-bit atoms
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

xcb_connection_t* c;

xcb_atom_t atom(const std::string& name) {
    xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(name.size()), name.c_str()), nullptr);
    const xcb_atom_t a = r ? r->atom : 0;
    std::free(r);
    return a;
}

struct Offer {
    xcb_atom_t target;
    std::string name;
    xcb_atom_t type;
    bool refused;
    std::string value;
};

std::string targetsAs;

void answer(const xcb_selection_request_event_t* r, const std::vector<Offer>& offers, xcb_atom_t targets) {
    xcb_atom_t property = r->property ? r->property : r->target;
    if (r->target == targets && targetsAs == "string") {
        std::string names = "TARGETS";
        for (const auto& o : offers) names += "\n" + o.name;
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, r->requestor, property, XCB_ATOM_STRING, 8,
                            static_cast<std::uint32_t>(names.size()), names.data());
    } else if (r->target == targets && targetsAs == "atom16") {
        std::vector<std::uint16_t> list{static_cast<std::uint16_t>(targets)};
        for (const auto& o : offers) list.push_back(static_cast<std::uint16_t>(o.target));
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, r->requestor, property, XCB_ATOM_ATOM, 16,
                            static_cast<std::uint32_t>(list.size()), list.data());
    } else if (r->target == targets) {
        std::vector<xcb_atom_t> list{targets};
        for (const auto& o : offers) list.push_back(o.target);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, r->requestor, property, XCB_ATOM_ATOM, 32,
                            static_cast<std::uint32_t>(list.size()), list.data());
    } else {
        property = XCB_ATOM_NONE;
        for (const auto& o : offers) {
            if (o.target != r->target || o.refused) continue;
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, r->requestor, r->property ? r->property : r->target,
                                o.type, 8, static_cast<std::uint32_t>(o.value.size()), o.value.data());
            property = r->property ? r->property : r->target;
        }
    }
    xcb_selection_notify_event_t n{};
    n.response_type = XCB_SELECTION_NOTIFY;
    n.time = r->time;
    n.requestor = r->requestor;
    n.selection = r->selection;
    n.target = r->target;
    n.property = property;
    xcb_send_event(c, 0, r->requestor, 0, reinterpret_cast<const char*>(&n));
    xcb_flush(c);
    for (const auto& o : offers)
        if (o.target == r->target) std::printf("asked %s\n", o.name.c_str());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) return 1;
    std::vector<Offer> offers;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--targets-as=", 0) == 0) {
            targetsAs = arg.substr(13);
            continue;
        }
        const std::size_t eq = arg.find('=');
        const std::string head = arg.substr(0, eq);
        const std::size_t at = head.find('@');
        const std::string name = head.substr(0, at);
        const xcb_atom_t target = atom(name);
        offers.push_back({target, name, at == std::string::npos ? target : atom(head.substr(at + 1)),
                          eq == std::string::npos, eq == std::string::npos ? std::string() : arg.substr(eq + 1)});
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t w = xcb_generate_id(c);
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, w, screen->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &mask);
    // A real timestamp for the ownership: the time of a property change of our own.
    xcb_change_property(c, XCB_PROP_MODE_APPEND, w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0, "");
    xcb_flush(c);
    xcb_timestamp_t time = XCB_CURRENT_TIME;
    while (xcb_generic_event_t* ev = xcb_wait_for_event(c)) {
        const bool found = (ev->response_type & 0x7F) == XCB_PROPERTY_NOTIFY;
        if (found) time = reinterpret_cast<xcb_property_notify_event_t*>(ev)->time;
        std::free(ev);
        if (found) break;
    }
    const xcb_atom_t clipboard = atom("CLIPBOARD"), targets = atom("TARGETS");
    xcb_set_selection_owner(c, w, clipboard, time);
    xcb_get_selection_owner_reply_t* o = xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, clipboard), nullptr);
    if (!o || o->owner != w) return 1;
    std::free(o);
    std::printf("ready\n");
    std::fflush(stdout);
    while (xcb_generic_event_t* ev = xcb_wait_for_event(c)) {
        const int type = ev->response_type & 0x7F;
        if (type == XCB_SELECTION_REQUEST) answer(reinterpret_cast<xcb_selection_request_event_t*>(ev), offers, targets);
        const bool lost = type == XCB_SELECTION_CLEAR;
        std::free(ev);
        if (lost) break;
    }
    return 0;
}
