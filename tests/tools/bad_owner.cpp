// Owners that break the rules, for the clipboard reader's tests:
//   bad_owner refuse    answers text/html, refuses application/x-refused
//   bad_owner zero      sends zero bytes for application/x-empty and for text
//   bad_owner badincr   starts INCR for application/x-big, then writes its
//                       chunks and the end without waiting for the reader
//   bad_owner die       starts INCR for application/x-big and exits after
//                       the first chunk
//   bad_owner slow      offers application/x-slow-0 to -3 and answers each
//                       after 400 ms
//   bad_owner trickle   sends application/x-big through INCR one byte every
//                       700 ms
//   bad_owner stall     starts INCR for application/x-big and sends nothing
//   bad_owner huge MB   sends MB megabytes of application/x-big through INCR
//                       as fast as the reader takes them, bytes i % 251 of
//                       each megabyte
//   bad_owner hang      never answers a request, TARGETS included; prints
//                       "asked" at the first, and stays until it is killed
// Every other mode also serves text/html as "<b>whole</b>". Prints "ready" once it
// owns the CLIPBOARD; exits when it loses it (but for hang) or is killed.
#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "xcb_tool.h"

using namespace tool;

namespace {

struct BadOwner {
    std::string mode;
    xcb_atom_t targets = atom("TARGETS"), incr = atom("INCR"), html = atom("text/html"),
               refused = atom("application/x-refused"), empty = atom("application/x-empty"),
               big = atom("application/x-big"), utf8 = atom("UTF8_STRING");
    std::vector<xcb_atom_t> offer{targets, html};
    std::vector<xcb_atom_t> slow;
    const std::string whole = "<b>whole</b>";
    const std::vector<char> chunk = std::vector<char>(100000, 'x');
    std::vector<char> megabyte;
    long hugeChunks = 0;
    xcb_window_t incrWindow = 0;
    xcb_atom_t incrProperty = 0;
    int chunksSent = 0;
    bool asked = false;

    bool incrMode() const {
        return mode == "badincr" || mode == "die" || mode == "trickle" || mode == "stall" || mode == "huge";
    }

    BadOwner(std::string m, long megabytes) : mode(std::move(m)), hugeChunks(megabytes) {
        if (mode == "refuse") offer.push_back(refused);
        if (mode == "zero") offer.insert(offer.end(), {empty, utf8});
        if (incrMode()) offer.push_back(big);
        for (int i = 0; mode == "huge" && i < (1 << 20); ++i) megabyte.push_back(static_cast<char>(i % 251));
        for (int i = 0; mode == "slow" && i < 4; ++i)
            slow.push_back(atom(("application/x-slow-" + std::to_string(i)).c_str()));
        offer.insert(offer.end(), slow.begin(), slow.end());
    }

    void request(const xcb_selection_request_event_t* r) {
        if (mode == "hang") {
            if (!std::exchange(asked, true)) say("asked");
            return;
        }
        if (r->target == targets) {
            write(r->requestor, r->property, XCB_ATOM_ATOM, 32, offer.data(), offer.size());
        } else if (r->target == html) {
            write(r->requestor, r->property, html, 8, whole.data(), whole.size());
        } else if (mode == "zero" && (r->target == empty || r->target == utf8)) {
            write(r->requestor, r->property, r->target, 8, nullptr, 0);
        } else if (std::find(slow.begin(), slow.end(), r->target) != slow.end()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
            write(r->requestor, r->property, r->target, 8, "late", 4);
        } else if (r->target == big && incrMode()) {
            const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
            xcb_change_window_attributes(c, r->requestor, XCB_CW_EVENT_MASK, &mask);
            const std::uint32_t size = mode == "huge" ? static_cast<std::uint32_t>(hugeChunks << 20) : 300000;
            write(r->requestor, r->property, incr, 32, &size, 1);
            incrWindow = r->requestor;
            incrProperty = r->property;
            chunksSent = 0;
        } else {
            notify(r, XCB_ATOM_NONE);
            return;
        }
        notify(r, r->property);
    }

    // false: time to die
    bool propertyDeleted(const xcb_property_notify_event_t* p) {
        if (p->window != incrWindow || p->atom != incrProperty) return true;
        if (mode == "die" && chunksSent == 1) return false;
        if (mode == "stall") return true;
        if (mode == "trickle") {
            std::this_thread::sleep_for(std::chrono::milliseconds(700));
            write(incrWindow, incrProperty, big, 8, "x", 1);
        } else if (mode == "huge") {
            if (chunksSent < hugeChunks) write(incrWindow, incrProperty, big, 8, megabyte.data(), megabyte.size());
            else {
                write(incrWindow, incrProperty, big, 8, nullptr, 0);
                incrWindow = 0;
            }
        } else if (mode == "badincr") {
            // Everything at once, never waiting for a deletion.
            for (int i = 0; i < 3; ++i) write(incrWindow, incrProperty, big, 8, chunk.data(), chunk.size());
            write(incrWindow, incrProperty, big, 8, nullptr, 0);
            incrWindow = 0;
        } else {
            write(incrWindow, incrProperty, big, 8, chunk.data(), chunk.size());
        }
        ++chunksSent;
        return true;
    }
};

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode != "refuse" && mode != "zero" && mode != "badincr" && mode != "die" && mode != "slow" &&
        mode != "trickle" && mode != "stall" && mode != "huge" && mode != "hang") {
        std::fprintf(stderr, "usage: bad_owner refuse|zero|badincr|die|slow|trickle|stall|huge MB|hang\n");
        return 2;
    }
    if (!connect()) return 1;
    BadOwner owner(mode, argc > 2 ? std::atol(argv[2]) : 200);
    if (!ownClipboard()) return 1;

    while (xcb_generic_event_t* ev = xcb_wait_for_event(c)) {
        const int type = ev->response_type & 0x7f;
        bool live = type != XCB_SELECTION_CLEAR || mode == "hang";
        if (type == XCB_SELECTION_REQUEST) owner.request(reinterpret_cast<const xcb_selection_request_event_t*>(ev));
        if (type == XCB_PROPERTY_NOTIFY) {
            const auto* p = reinterpret_cast<const xcb_property_notify_event_t*>(ev);
            if (p->state == XCB_PROPERTY_DELETE) live = owner.propertyDeleted(p);
        }
        std::free(ev);
        if (!live) break;
        xcb_flush(c);
    }
    xcb_disconnect(c);
    return 0;
}
