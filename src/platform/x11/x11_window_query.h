#pragma once
// Questions about top-level windows asked of the server and the window
// manager, shared by the windows, keystrokes and hooks services.
#include <optional>
#include <string>
#include <vector>

#include "platform/x11/x11_connection.h"

namespace pellion::platform::x11 {

// A window manager that announces itself (_NET_SUPPORTING_WM_CHECK).
bool hasWindowManager(Connection& x);
// The window manager keeps _NET_ACTIVE_WINDOW on the root window.
bool tracksActiveWindow(Connection& x);
std::vector<xcb_window_t> clientList(Connection& x);
// The foreground top-level client window, 0 when there is none.
xcb_window_t foregroundWindow(Connection& x);
// The root's child that contains the window (the frame under a window
// manager), 0 when the window is gone.
xcb_window_t topLevelOf(Connection& x, xcb_window_t window);
// The client window (the one with WM_STATE) at or below a top-level window.
xcb_window_t clientOf(Connection& x, xcb_window_t topLevel);
// _NET_WM_NAME, else WM_NAME, as UTF-8.
std::optional<std::string> titleOf(Connection& x, xcb_window_t window);
bool supportsProtocol(Connection& x, xcb_window_t window, xcb_atom_t protocol);
bool isMapped(Connection& x, xcb_window_t window);
// ICCCM WM_STATE: 0 withdrawn, 1 normal, 3 iconic.
std::uint32_t wmState(Connection& x, xcb_window_t window);

}  // namespace pellion::platform::x11
