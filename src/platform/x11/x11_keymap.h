#pragma once
// The server's keyboard and modifier mappings, fetched fresh when needed.
#include <array>
#include <vector>

#include "platform/keysyms.h"
#include "platform/x11/x11_connection.h"

namespace pellion::platform::x11 {

struct Keymap {
    keysyms::KeyboardMap keys;
    std::array<std::vector<std::uint8_t>, 8> modifiers;  // Shift, Lock, Control, Mod1..Mod5

    static Keymap fetch(Connection& x);

    // The modifier bit whose row holds a key with this keysym, 0 when none.
    std::uint16_t modifierBitOf(std::uint32_t keysym) const;
    std::uint16_t altBit() const;      // Mod1 when Alt is not mapped
    std::uint16_t numLockBit() const;  // 0 when NumLock is not mapped
    // The keys of Shift, Control and Mod1..Mod5 that are down in a key vector
    // (QueryKeymap); locks such as CapsLock do not count.
    std::vector<std::uint8_t> heldModifierKeys(const std::uint8_t down[32]) const;
    bool isModifierKey(std::uint8_t keycode) const;
};

}  // namespace pellion::platform::x11
