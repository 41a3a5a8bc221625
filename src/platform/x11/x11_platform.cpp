#include "platform/platform.h"
#include "platform/x11/x11_clipboard.h"

namespace pellion::platform {

std::unique_ptr<Platform> makeX11Platform() {
    auto p = std::make_unique<Platform>();
    p->clipboard = x11::X11Clipboard::create();
    return p;
}

}  // namespace pellion::platform
