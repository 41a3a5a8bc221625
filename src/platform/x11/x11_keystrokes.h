#pragma once
#include <memory>

#include "platform/keystrokes.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_keymap.h"

namespace pellion::platform::x11 {

// Keys typed through XTest into whatever window has the input focus.
class X11Keystrokes : public Keystrokes {
public:
    explicit X11Keystrokes(std::shared_ptr<Connection> x);
    bool send(const std::string& notation, bool wait) override;

    // How long the user gets to let go of the modifiers of a hot key.
    std::chrono::milliseconds releaseWait{500};

private:
    struct Planned {
        std::uint8_t keycode;
        bool shift;
    };
    std::optional<std::vector<Planned>> plan(const std::vector<KeyStroke>& strokes, const Keymap& map,
                                             std::vector<std::pair<std::uint8_t, std::uint32_t>>& remaps);
    void letGoOfModifiers(const Keymap& map);
    void waitUntilProcessed();
    void waitUntilRead(std::uint64_t requestsBefore);
    bool weOwnClipboard();

    std::shared_ptr<Connection> x_;
    bool xtest_ = false;  // the server fakes input for us
    std::uint32_t clipboardAtom_ = 0;
};

}  // namespace pellion::platform::x11
