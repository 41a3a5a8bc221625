#include "platform/x11/x11_windows.h"

#include <unistd.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <thread>

#include "platform/x11/x11_window_query.h"

namespace pellion::platform::x11 {

namespace {

constexpr std::uint32_t kIconicState = 3;
constexpr std::uint32_t kSourcePager = 2;  // requests "from the user", which focus prevention lets through

std::string hostName() {
    char name[HOST_NAME_MAX + 1] = {};
    ::gethostname(name, sizeof name - 1);
    return name;
}

}  // namespace

double logicalDpi(const std::string& resources) {
    const std::string key = "Xft.dpi:";
    std::size_t at = 0;
    while ((at = resources.find(key, at)) != std::string::npos) {
        if (at == 0 || resources[at - 1] == '\n') {
            const double dpi = std::strtod(resources.c_str() + at + key.size(), nullptr);
            if (dpi >= 24 && dpi <= 960) return dpi;
        }
        at += key.size();
    }
    return 96;
}

WindowId X11Windows::foreground() { return foregroundWindow(*x_); }

bool X11Windows::hasInputFocus(xcb_window_t window) {
    ReplyPtr<xcb_get_input_focus_reply_t> focus(
        xcb_get_input_focus_reply(x_->xcb(), xcb_get_input_focus(x_->xcb()), nullptr));
    if (!focus || focus->focus == XCB_NONE || focus->focus == XCB_INPUT_FOCUS_POINTER_ROOT) return false;
    return focus->focus == window || topLevelOf(*x_, focus->focus) == topLevelOf(*x_, window);
}

bool X11Windows::waitForeground(xcb_window_t window, int milliseconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        // Keys go where the input focus is, whatever the window manager says
        // (it may still name a window that has just gone and whose id is reused).
        if (foregroundWindow(*x_) == window && hasInputFocus(window)) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        // A window manager moves the focus within a few ms: the paste waits on this.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void X11Windows::raiseAndFocus(xcb_window_t window) {
    const xcb_window_t top = topLevelOf(*x_, window);
    const std::uint32_t above = XCB_STACK_MODE_ABOVE;
    if (top) xcb_configure_window(x_->xcb(), top, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    // Refused (BadMatch) while the window is not viewable: nothing more to do.
    ReplyPtr<xcb_generic_error_t> error(xcb_request_check(
        x_->xcb(), xcb_set_input_focus_checked(x_->xcb(), XCB_INPUT_FOCUS_PARENT, window, x_->serverTime())));
}

bool X11Windows::bringToFront(WindowId id) {
    const auto window = xcb_window_t(id);
    if (!window || !topLevelOf(*x_, window)) return false;
    if (tracksActiveWindow(*x_)) {
        x_->sendToRoot(window, x_->atom(Atom::NetActiveWindow), kSourcePager, x_->serverTime(),
                       foregroundWindow(*x_));
        if (waitForeground(window, 300)) return true;
        raiseAndFocus(window);
        return waitForeground(window, 100);
    }
    if (!isMapped(*x_, window)) xcb_map_window(x_->xcb(), window);
    raiseAndFocus(window);
    return foregroundWindow(*x_) == window;
}

bool X11Windows::isOwnWindow(WindowId id) {
    const auto window = xcb_window_t(id);
    if (!window) return false;
    const auto pidOf = [&](xcb_window_t w) -> std::optional<std::uint32_t> {
        if (auto machine = x_->bytes(w, XCB_ATOM_WM_CLIENT_MACHINE, XCB_ATOM_STRING)) {
            if (*machine != hostName()) return std::nullopt;
        }
        return x_->word(w, x_->atom(Atom::NetWmPid), XCB_ATOM_CARDINAL);
    };
    auto pid = pidOf(window);
    if (!pid) {
        // Dialogs without a pid of their own name their group leader.
        if (auto leader = x_->word(window, x_->atom(Atom::WmClientLeader), XCB_ATOM_WINDOW)) pid = pidOf(*leader);
    }
    return pid && *pid == std::uint32_t(::getpid());
}

WindowId X11Windows::findByTitle(const std::string& title) {
    for (xcb_window_t w : clientList(*x_))
        if (titleOf(*x_, w) == title) return w;
    // Hidden windows are withdrawn: the window manager lists them no longer
    // and they sit directly on the root again.
    ReplyPtr<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(x_->xcb(), xcb_query_tree(x_->xcb(), x_->root()), nullptr));
    if (!tree) return 0;
    const auto* children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i)
        if (titleOf(*x_, children[i]) == title) return children[i];
    return 0;
}

void X11Windows::show(WindowId id, ShowState state) {
    const auto window = xcb_window_t(id);
    if (!window) return;
    const bool wm = hasWindowManager(*x_);
    switch (state) {
        case ShowState::Normal: {
            xcb_map_window(x_->xcb(), window);  // also takes an iconic window back to normal
            if (!wm) {
                const std::uint32_t above = XCB_STACK_MODE_ABOVE;
                xcb_configure_window(x_->xcb(), window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
            }
            break;
        }
        case ShowState::Minimised:
            if (!wm) {
                xcb_unmap_window(x_->xcb(), window);  // nowhere to show an icon
            } else if (wmState(*x_, window) == 0) {
                // Withdrawn: ask to be mapped straight into the iconic state.
                auto hints = x_->words(window, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS);
                hints.resize(std::max<std::size_t>(hints.size(), 9), 0);
                hints[0] |= 2;  // StateHint
                hints[2] = kIconicState;
                xcb_change_property(x_->xcb(), XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS,
                                    32, std::uint32_t(hints.size()), hints.data());
                xcb_map_window(x_->xcb(), window);
            } else {
                x_->sendToRoot(window, x_->atom(Atom::WmChangeState), kIconicState);
            }
            break;
        case ShowState::Hidden: {
            xcb_unmap_window(x_->xcb(), window);
            // ICCCM withdrawal: a synthetic UnmapNotify tells the window manager.
            xcb_unmap_notify_event_t event{};
            event.response_type = XCB_UNMAP_NOTIFY;
            event.event = x_->root();
            event.window = window;
            xcb_send_event(x_->xcb(), 0, x_->root(),
                           XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                           reinterpret_cast<const char*>(&event));
            break;
        }
    }
    x_->sync();
}

void X11Windows::setState(xcb_window_t window, bool on, xcb_atom_t first, xcb_atom_t second) {
    if (hasWindowManager(*x_) && wmState(*x_, window) != 0) {
        x_->sendToRoot(window, x_->atom(Atom::NetWmState), on ? 1 : 0, first, second, kSourcePager);
        return;
    }
    // A withdrawn window carries its wish in the property for the next map.
    auto states = x_->words(window, x_->atom(Atom::NetWmState), XCB_ATOM_ATOM);
    for (xcb_atom_t a : {first, second}) {
        if (!a) continue;
        std::erase(states, a);
        if (on) states.push_back(a);
    }
    xcb_change_property(x_->xcb(), XCB_PROP_MODE_REPLACE, window, x_->atom(Atom::NetWmState), XCB_ATOM_ATOM, 32,
                        std::uint32_t(states.size()), states.data());
}

void X11Windows::setTopmost(WindowId id, bool topmost) {
    const auto window = xcb_window_t(id);
    if (!window) return;
    setState(window, topmost, x_->atom(Atom::NetWmStateAbove));
    if (topmost && !hasWindowManager(*x_)) {
        const std::uint32_t mode = XCB_STACK_MODE_ABOVE;
        xcb_configure_window(x_->xcb(), window, XCB_CONFIG_WINDOW_STACK_MODE, &mode);
    }
    x_->sync();
}

void X11Windows::setSkipTaskbar(WindowId id, bool skip) {
    const auto window = xcb_window_t(id);
    if (!window) return;
    setState(window, skip, x_->atom(Atom::NetWmStateSkipTaskbar), x_->atom(Atom::NetWmStateSkipPager));
    x_->sync();
}

Rect X11Windows::windowRect(WindowId id) {
    const auto window = xcb_window_t(id);
    ReplyPtr<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(x_->xcb(), xcb_get_geometry(x_->xcb(), window), nullptr));
    ReplyPtr<xcb_translate_coordinates_reply_t> origin(xcb_translate_coordinates_reply(
        x_->xcb(), xcb_translate_coordinates(x_->xcb(), window, x_->root(), 0, 0), nullptr));
    if (!geometry || !origin) return {};
    // The outer rectangle, with the frame the window manager draws.
    auto frame = x_->words(window, x_->atom(Atom::NetFrameExtents), XCB_ATOM_CARDINAL);
    frame.resize(4, 0);  // left, right, top, bottom
    return {origin->dst_x - int(frame[0]), origin->dst_y - int(frame[2]),
            origin->dst_x + geometry->width + int(frame[1]), origin->dst_y + geometry->height + int(frame[3])};
}

Point X11Windows::pointer() {
    ReplyPtr<xcb_query_pointer_reply_t> reply(
        xcb_query_pointer_reply(x_->xcb(), xcb_query_pointer(x_->xcb(), x_->root()), nullptr));
    if (!reply) return {};
    return {reply->root_x, reply->root_y};
}

Point X11Windows::screenSizeTwips() {
    double twipsPerPixel = pixelsPerTwip_ > 0 ? 1.0 / pixelsPerTwip_ : 0.0;
    if (twipsPerPixel == 0)
        twipsPerPixel =
            1440.0 / logicalDpi(x_->bytes(x_->root(), XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING).value_or(""));
    return {int(std::lround(x_->screen().width_in_pixels * twipsPerPixel)),
            int(std::lround(x_->screen().height_in_pixels * twipsPerPixel))};
}

}  // namespace pellion::platform::x11
