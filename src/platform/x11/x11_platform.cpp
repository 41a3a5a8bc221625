#include "platform/platform.h"

namespace pellion::platform {

std::unique_ptr<Platform> makeX11Platform() {
    auto p = std::make_unique<Platform>();
    return p;
}

}  // namespace pellion::platform
