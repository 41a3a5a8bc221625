#pragma once
// Display-independent tables behind the X11 keystrokes and hooks: which keysym
// a key or character is, which keysyms a virtual-key code stands for, and where
// a keysym sits in a core keyboard mapping. Plain numbers, no X11 headers.
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/keystrokes.h"

namespace pellion::platform::keysyms {

// Core modifier bits of the X protocol.
inline constexpr std::uint16_t kXShift = 1, kXLock = 2, kXControl = 4, kXMod1 = 8;

inline constexpr std::uint32_t kShiftL = 0xFFE1, kShiftR = 0xFFE2, kControlL = 0xFFE3, kControlR = 0xFFE4,
                               kAltL = 0xFFE9, kAltR = 0xFFEA, kNumLock = 0xFF7F;

// The keysym of a named key; 0 for Key::Character.
std::uint32_t forKey(Key key);
// The keysym that types a character; 0 for characters that cannot be typed.
std::uint32_t forCharacter(char32_t c);
// The keysyms a virtual-key code of the watched set stands for, preferred
// first; empty for codes outside the set.
std::vector<std::uint32_t> forVirtualKey(std::uint32_t vk);

// Shift mask of a key code (1 Shift, 2 Ctrl, 4 Alt) as core modifier bits,
// with Alt on the given modifier bit.
std::uint16_t toXModifiers(std::uint32_t shiftMask, std::uint16_t altBit = kXMod1);

// A core keyboard mapping: perKeycode keysyms for each keycode from minKeycode.
struct KeyboardMap {
    int minKeycode = 8;
    int perKeycode = 0;
    std::vector<std::uint32_t> syms;

    int maxKeycode() const { return perKeycode ? minKeycode + int(syms.size()) / perKeycode - 1 : minKeycode - 1; }
    std::uint32_t at(int keycode, int column) const;
};

struct KeyPosition {
    std::uint8_t keycode = 0;
    bool shift = false;  // the keysym is on the shifted level
    bool operator==(const KeyPosition&) const = default;
};

// Where a keysym is typed from (first group, plain level before shifted,
// lowest keycode first), applying the core rule that a lower-case letter
// alone on its key gives the upper case with Shift.
std::optional<KeyPosition> find(const KeyboardMap& map, std::uint32_t keysym);
// Every keycode carrying the keysym on either level of the first group.
std::vector<std::uint8_t> keycodesOf(const KeyboardMap& map, std::uint32_t keysym);
// Keycodes without any keysym, usable for a temporary mapping.
std::vector<std::uint8_t> spareKeycodes(const KeyboardMap& map);

}  // namespace pellion::platform::keysyms
