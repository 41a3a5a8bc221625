#include "platform/x11/x11_window_query.h"

#include <algorithm>

#include "platform/utf8.h"

namespace pellion::platform::x11 {

namespace {

xcb_window_t wmCheckWindow(Connection& x) {
    const auto check = x.word(x.root(), x.atom(Atom::NetSupportingWmCheck), XCB_ATOM_WINDOW);
    if (!check || !*check) return 0;
    // A stale property left by a window manager that has gone names a window
    // that no longer points to itself.
    const auto self = x.word(*check, x.atom(Atom::NetSupportingWmCheck), XCB_ATOM_WINDOW);
    return self && *self == *check ? *check : 0;
}

}  // namespace

bool hasWindowManager(Connection& x) { return wmCheckWindow(x) != 0; }

bool tracksActiveWindow(Connection& x) {
    if (!hasWindowManager(x)) return false;
    const auto supported = x.words(x.root(), x.atom(Atom::NetSupported), XCB_ATOM_ATOM);
    return std::find(supported.begin(), supported.end(), x.atom(Atom::NetActiveWindow)) != supported.end();
}

std::vector<xcb_window_t> clientList(Connection& x) {
    return x.words(x.root(), x.atom(Atom::NetClientList), XCB_ATOM_WINDOW);
}

xcb_window_t foregroundWindow(Connection& x) {
    if (tracksActiveWindow(x)) {
        const auto active = x.word(x.root(), x.atom(Atom::NetActiveWindow), XCB_ATOM_WINDOW).value_or(0);
        if (!active) return 0;
        const auto clients = clientList(x);
        return std::find(clients.begin(), clients.end(), active) != clients.end() ? active : 0;
    }
    ReplyPtr<xcb_get_input_focus_reply_t> focus(
        xcb_get_input_focus_reply(x.xcb(), xcb_get_input_focus(x.xcb()), nullptr));
    if (!focus || focus->focus == XCB_NONE) return 0;
    xcb_window_t top = 0;
    if (focus->focus == XCB_INPUT_FOCUS_POINTER_ROOT || focus->focus == x.root()) {
        // The keyboard follows the pointer: the window under it is in front.
        ReplyPtr<xcb_query_pointer_reply_t> pointer(
            xcb_query_pointer_reply(x.xcb(), xcb_query_pointer(x.xcb(), x.root()), nullptr));
        top = pointer ? pointer->child : 0;
    } else {
        top = topLevelOf(x, focus->focus);
    }
    return top ? clientOf(x, top) : 0;
}

xcb_window_t topLevelOf(Connection& x, xcb_window_t window) {
    for (int depth = 0; depth < 64 && window; ++depth) {
        ReplyPtr<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(x.xcb(), xcb_query_tree(x.xcb(), window), nullptr));
        if (!tree) return 0;
        if (tree->parent == x.root()) return window;
        window = tree->parent;
    }
    return 0;
}

xcb_window_t clientOf(Connection& x, xcb_window_t topLevel) {
    std::vector<xcb_window_t> level{topLevel};
    for (int depth = 0; depth < 3 && !level.empty(); ++depth) {
        std::vector<xcb_window_t> next;
        for (xcb_window_t w : level) {
            if (!x.words(w, x.atom(Atom::WmState)).empty()) return w;
            ReplyPtr<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(x.xcb(), xcb_query_tree(x.xcb(), w), nullptr));
            if (!tree) continue;
            const auto* children = xcb_query_tree_children(tree.get());
            next.insert(next.end(), children, children + xcb_query_tree_children_length(tree.get()));
        }
        level = std::move(next);
    }
    return topLevel;
}

std::optional<std::string> titleOf(Connection& x, xcb_window_t window) {
    const xcb_atom_t utf8 = x.atom(Atom::Utf8String);
    if (auto name = x.bytes(window, x.atom(Atom::NetWmName), utf8)) return name;
    if (auto name = x.bytes(window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING)) return latin1ToUtf8(*name);
    return x.bytes(window, XCB_ATOM_WM_NAME, utf8);
}

bool supportsProtocol(Connection& x, xcb_window_t window, xcb_atom_t protocol) {
    const auto protocols = x.words(window, x.atom(Atom::WmProtocols), XCB_ATOM_ATOM);
    return std::find(protocols.begin(), protocols.end(), protocol) != protocols.end();
}

bool isMapped(Connection& x, xcb_window_t window) {
    ReplyPtr<xcb_get_window_attributes_reply_t> attrs(
        xcb_get_window_attributes_reply(x.xcb(), xcb_get_window_attributes(x.xcb(), window), nullptr));
    return attrs && attrs->map_state != XCB_MAP_STATE_UNMAPPED;
}

std::uint32_t wmState(Connection& x, xcb_window_t window) {
    return x.word(window, x.atom(Atom::WmState), x.atom(Atom::WmState)).value_or(0);
}

}  // namespace pellion::platform::x11
