#include "platform/platform.h"
#include "platform/x11/x11_clipboard.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_hooks.h"
#include "platform/x11/x11_keystrokes.h"
#include "platform/x11/x11_shell.h"
#include "platform/x11/x11_windows.h"

namespace pellion::platform {

std::unique_ptr<Platform> makeX11Platform() {
    auto p = std::make_unique<Platform>();
    // Windows, keystrokes and hooks share one connection, so that a round
    // trip after typing also brings in the hook events of the typed keys.
    // The clipboard keeps connections of its own (see x11_clipboard.h).
    auto x = x11::Connection::open();
    if (!x) return nullptr;
    p->windows = std::make_unique<x11::X11Windows>(x);
    p->keystrokes = std::make_unique<x11::X11Keystrokes>(x);
    p->hooks = std::make_unique<x11::X11Hooks>(x);
    p->shell = std::make_unique<x11::X11Shell>();
    p->clipboard = x11::X11Clipboard::create();
    return p;
}

}  // namespace pellion::platform
