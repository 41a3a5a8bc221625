// Owns the CLIPBOARD with the given targets, as a password manager or a
// rich-text editor does:  offer_targets UTF8_STRING=hunter2 x-kde-passwordManagerHint=secret
// Serves TARGETS and each target's bytes (small values only). Prints "ready"
// once it owns the selection and "asked NAME" after each request for an
// offered target; exits when it loses it or is killed.
//   NAME            offered, but every request for it is refused
//   NAME@TYPE=VALUE answered under another type (a picture "as text")
//   --targets-as=string|atom16   TARGETS answered as old toolkits do: the
//                   names as a STRING, or 16-bit atoms
#include <string>
#include <vector>

#include "xcb_tool.h"

using namespace tool;

namespace {

struct Offer {
    xcb_atom_t target;
    std::string name;
    xcb_atom_t type;
    bool refused;
    std::string value;
};

std::string targetsAs;

void answer(const xcb_selection_request_event_t* r, const std::vector<Offer>& offers, xcb_atom_t targets) {
    const xcb_atom_t property = r->property ? r->property : r->target;
    bool answered = r->target == targets;
    if (answered && targetsAs == "string") {
        std::string names = "TARGETS";
        for (const auto& o : offers) names += "\n" + o.name;
        write(r->requestor, property, XCB_ATOM_STRING, 8, names.data(), names.size());
    } else if (answered && targetsAs == "atom16") {
        std::vector<std::uint16_t> list{static_cast<std::uint16_t>(targets)};
        for (const auto& o : offers) list.push_back(static_cast<std::uint16_t>(o.target));
        write(r->requestor, property, XCB_ATOM_ATOM, 16, list.data(), list.size());
    } else if (answered) {
        std::vector<xcb_atom_t> list{targets};
        for (const auto& o : offers) list.push_back(o.target);
        write(r->requestor, property, XCB_ATOM_ATOM, 32, list.data(), list.size());
    }
    for (const auto& o : offers) {
        if (o.target != r->target || o.refused) continue;
        write(r->requestor, property, o.type, 8, o.value.data(), o.value.size());
        answered = true;
    }
    notify(r, answered ? property : xcb_atom_t{XCB_ATOM_NONE});
    for (const auto& o : offers)
        if (o.target == r->target) say("asked " + o.name);
}

}  // namespace

int main(int argc, char** argv) {
    if (!connect()) return 1;
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
    const xcb_atom_t targets = atom("TARGETS");
    if (!ownClipboard()) return 1;
    while (xcb_generic_event_t* ev = xcb_wait_for_event(c)) {
        const int type = ev->response_type & 0x7F;
        if (type == XCB_SELECTION_REQUEST) answer(reinterpret_cast<xcb_selection_request_event_t*>(ev), offers, targets);
        const bool lost = type == XCB_SELECTION_CLEAR;
        std::free(ev);
        if (lost) break;
    }
    return 0;
}
