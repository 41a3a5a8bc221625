#pragma once
// The set of platform services the program runs on.
#include <memory>

#include "platform/clipboard.h"
#include "platform/hooks.h"
#include "platform/keystrokes.h"
#include "platform/shell.h"
#include "platform/windows.h"

namespace pellion::platform {

struct Platform {
    std::unique_ptr<Clipboard> clipboard;
    std::unique_ptr<Windows> windows;
    std::unique_ptr<Keystrokes> keystrokes;
    std::unique_ptr<Hooks> hooks;
    std::unique_ptr<Shell> shell;
};

// The real set on the current X11 display; nullptr without a display.
std::unique_ptr<Platform> makeX11Platform();

}  // namespace pellion::platform
