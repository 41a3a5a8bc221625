#include "platform/x11/x11_keystrokes.h"

#include <unistd.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <thread>

#include "platform/x11/selection_activity.h"
#include "platform/x11/xcb_ptr.h"
#include "platform/x11/x11_window_query.h"

namespace pellion::platform::x11 {

namespace {

void fake(xcb_connection_t* c, std::uint8_t type, std::uint8_t keycode) {
    xcb_test_fake_input(c, type, keycode, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
}

std::vector<std::uint8_t> heldModifiers(Connection& x, const Keymap& map) {
    ReplyPtr<xcb_query_keymap_reply_t> keys(xcb_query_keymap_reply(x.xcb(), xcb_query_keymap(x.xcb()), nullptr));
    return keys ? map.heldModifierKeys(keys->keys) : std::vector<std::uint8_t>{};
}

}  // namespace

X11Keystrokes::X11Keystrokes(std::shared_ptr<Connection> x) : x_(std::move(x)) {
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(x_->xcb(), &xcb_test_id);
    xtest_ = ext && ext->present;
}

bool X11Keystrokes::send(const std::string& notation, bool wait) {
    const auto strokes = parseKeys(notation);
    if (!strokes || !xtest_ || x_->broken()) return false;
    const Keymap map = Keymap::fetch(*x_);
    std::vector<std::pair<std::uint8_t, std::uint32_t>> remaps;  // spare keycode, keysym
    const auto keys = plan(*strokes, map, remaps);
    if (!keys) return false;  // something cannot be typed: type nothing
    const bool anyShift = std::any_of(keys->begin(), keys->end(), [](const Planned& k) { return k.shift; });
    if (anyShift && map.modifiers[0].empty()) return false;

    letGoOfModifiers(map);
    // A paste of what we serve is over once its program has read it.
    SelectionActivity& serving = selectionActivity();
    const bool paste = wait && notation.find("{INSERT}") != std::string::npos && weOwnClipboard();
    const std::uint64_t requestsBefore = serving.requests;
    xcb_connection_t* c = x_->xcb();
    const int per = std::max(map.keys.perKeycode, 2);
    for (const auto& [keycode, keysym] : remaps) {
        std::vector<xcb_keysym_t> syms(per, 0);
        syms[0] = syms[1] = keysym;
        xcb_change_keyboard_mapping(c, 1, keycode, std::uint8_t(per), syms.data());
    }
    const std::uint8_t shiftKey = anyShift ? map.modifiers[0].front() : 0;
    for (const Planned& key : *keys) {
        if (key.shift) fake(c, XCB_KEY_PRESS, shiftKey);
        fake(c, XCB_KEY_PRESS, key.keycode);
        fake(c, XCB_KEY_RELEASE, key.keycode);
        if (key.shift) fake(c, XCB_KEY_RELEASE, shiftKey);
    }
    x_->sync();  // the server has turned them into events
    if (wait) waitUntilProcessed();
    if (paste) waitUntilRead(requestsBefore);
    if (!remaps.empty()) {
        // The target translates keys with the mapping it knows when it reads
        // them: give it time before the spare keys go back to nothing.
        if (!wait) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        for (const auto& remap : remaps) {
            std::vector<xcb_keysym_t> none(per, 0);
            xcb_change_keyboard_mapping(c, 1, remap.first, std::uint8_t(per), none.data());
        }
        x_->sync();
    }
    return true;
}

std::optional<std::vector<X11Keystrokes::Planned>> X11Keystrokes::plan(
    const std::vector<KeyStroke>& strokes, const Keymap& map,
    std::vector<std::pair<std::uint8_t, std::uint32_t>>& remaps) {
    const auto spare = keysyms::spareKeycodes(map.keys);
    std::vector<Planned> out;
    for (const KeyStroke& stroke : strokes) {
        const std::uint32_t keysym =
            stroke.key == Key::Character ? keysyms::forCharacter(stroke.character) : keysyms::forKey(stroke.key);
        if (!keysym) return std::nullopt;
        if (auto at = keysyms::find(map.keys, keysym)) {
            out.push_back({at->keycode, at->shift || stroke.shift});
            continue;
        }
        auto known = std::find_if(remaps.begin(), remaps.end(), [&](const auto& r) { return r.second == keysym; });
        if (known == remaps.end()) {
            if (remaps.size() >= spare.size()) return std::nullopt;
            remaps.emplace_back(spare[remaps.size()], keysym);
            known = remaps.end() - 1;
        }
        out.push_back({known->first, stroke.shift});
    }
    return out;
}

void X11Keystrokes::letGoOfModifiers(const Keymap& map) {
    const auto deadline = std::chrono::steady_clock::now() + releaseWait;
    auto held = heldModifiers(*x_, map);
    while (!held.empty() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        held = heldModifiers(*x_, map);
    }
    // Released for good: pressing them again afterwards is how modifiers get
    // stuck. The server ignores this for keys held on a physical keyboard.
    for (std::uint8_t keycode : held) fake(x_->xcb(), XCB_KEY_RELEASE, keycode);
}

bool X11Keystrokes::weOwnClipboard() {
    const std::uint32_t ours = selectionActivity().ownerWindow;
    if (!ours) return false;
    xcb_connection_t* c = x_->xcb();
    if (!clipboardAtom_) {
        XcbPtr<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, 9, "CLIPBOARD"), nullptr));
        if (!atom) return false;
        clipboardAtom_ = atom->atom;
    }
    XcbPtr<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, clipboardAtom_), nullptr));
    return owner && owner->owner == ours;
}

void X11Keystrokes::waitUntilRead(std::uint64_t requestsBefore) {
    using namespace std::chrono;
    SelectionActivity& serving = selectionActivity();
    const auto start = steady_clock::now();
    const auto quiet = milliseconds(50);
    // The first request, then no more for a moment: a reader may ask for
    // the targets and then for several of them.
    while (steady_clock::now() - start < milliseconds(1000)) {
        const bool asked = serving.requests != requestsBefore;
        const auto last = steady_clock::time_point(steady_clock::duration(serving.lastRequest.load()));
        if (asked && steady_clock::now() - last >= quiet) return;
        std::this_thread::sleep_for(milliseconds(10));
    }
}

void X11Keystrokes::waitUntilProcessed() {
    const xcb_window_t target = foregroundWindow(*x_);
    const xcb_atom_t ping = x_->atom(Atom::NetWmPing), protocols = x_->atom(Atom::WmProtocols);
    // Our own window cannot answer while we wait here: its keys are queued
    // for our own event loop, which is all the round trip could ensure.
    if (target && x_->word(target, x_->atom(Atom::NetWmPid), XCB_ATOM_CARDINAL) == std::uint32_t(::getpid())) return;
    if (!target || !supportsProtocol(*x_, target, ping)) {
        // No way to ask: give it a moment to read what the server sent.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return;
    }
    // The target answers the ping after the key events before it in its queue.
    const xcb_timestamp_t stamp = x_->serverTime();
    // The answer goes to the root window, with either notify mask (clients differ).
    const std::uint32_t notify = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    x_->selectRoot(notify, true);
    const xcb_client_message_event_t event = clientMessage(target, protocols, ping, stamp, target);
    xcb_send_event(x_->xcb(), 0, target, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
    x_->waitFor(
        [&](const xcb_generic_event_t& e) {
            if ((e.response_type & 0x7F) != XCB_CLIENT_MESSAGE) return false;
            const auto& m = reinterpret_cast<const xcb_client_message_event_t&>(e);
            return m.type == protocols && m.data.data32[0] == ping && m.data.data32[1] == stamp;
        },
        std::chrono::milliseconds(1000));
    x_->selectRoot(notify, false);
}

}  // namespace pellion::platform::x11
